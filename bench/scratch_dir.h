// Scratch directories and child processes for the native benchmarks.
#pragma once

#include <functional>
#include <string>

#include "harness/temp_dir.h"

namespace bench {

// Stops the run with a message: a benchmark whose setup failed would measure nothing.
[[noreturn]] void Fail(const std::string& message);

// The tests' temporary directory, with failures stopping the run.
class ScratchDir : public TempDir {
 public:
  ScratchDir() {
    if (path().empty()) Fail("cannot make a scratch directory");
  }
  // Writes a file into the directory; stops the run when that fails.
  void Write(const std::string& name, const std::string& bytes);
};

// Runs work in a forked child process and returns the number it gives back: a measurement that
// starts from this process's state as it is now, untouched by what the child does.
double InChild(const std::function<double()>& work);

}  // namespace bench
