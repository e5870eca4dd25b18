// The object that carries the tests' precompiled GoogleTest (see CMakeLists.txt).
