#include "scratch_dir.h"

#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include "rule_sets.h"

namespace bench {

void Fail(const std::string& message) {
  fprintf(stderr, "lunet_bench: %s\n", message.c_str());
  exit(1);
}

double InChild(const std::function<double()>& work) {
  int channel[2];
  if (pipe(channel) != 0) Fail("no pipe");
  pid_t child = fork();
  if (child < 0) Fail("no fork");
  if (child == 0) {
    close(channel[0]);
    double result = work();
    ssize_t written = write(channel[1], &result, sizeof result);
    _exit(written == sizeof result ? 0 : 1);
  }
  close(channel[1]);
  double result = 0;
  bool got = read(channel[0], &result, sizeof result) == sizeof result;
  close(channel[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!got) Fail("a child process gave no result");
  return result;
}

ScratchDir::ScratchDir() {
  const char* base = getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/lunet-bench-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back(0);
  if (!mkdtemp(name.data())) Fail("cannot make a scratch directory");
  path_ = std::string(name.data()) + "/";
}

ScratchDir::~ScratchDir() {
  // The module may have written the marker file here too.
  names_.push_back("config.dat");
  for (const std::string& name : names_) unlink((path_ + name).c_str());
  rmdir(path_.c_str());
}

void ScratchDir::Write(const std::string& name, const std::string& bytes) {
  if (!WriteFile(path_ + name, bytes)) Fail("cannot write " + path_ + name);
  names_.push_back(name);
}

}  // namespace bench
