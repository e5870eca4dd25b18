# Entry points for people and CI. Each target installs what is missing first.
.PHONY: demo build test test-native test-asan test-tsan test-win32 deps clean

CMAKE_JOBS ?= 2

deps:
	@scripts/install-deps

build: deps
	@cmake --preset win32 >/dev/null
	@cmake --build --preset win32 -j$(CMAKE_JOBS)

demo: build

test: deps
	@scripts/run-tests

test-native test-asan test-tsan test-win32: deps
	@scripts/run-tests $(@:test-%=%)

clean:
	rm -rf build dist
