// A fresh directory for one benchmark, removed with its files afterwards (native only).
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace bench {

class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  // With its trailing separator, as the plug-in directory is kept.
  const std::string& path() const { return path_; }
  // Writes a file into the directory; aborts the run when that fails.
  void Write(const std::string& name, const std::string& bytes);

 private:
  std::string path_;
  std::vector<std::string> names_;
};

// Runs work in a forked child process and returns the number it gives back: a measurement that
// starts from this process's state as it is now, untouched by what the child does.
double InChild(const std::function<double()>& work);

// Stops the run with a message: a benchmark whose setup failed would measure nothing.
[[noreturn]] void Fail(const std::string& message);

}  // namespace bench
