#include "scratch_dir.h"

#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

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

void ScratchDir::Write(const std::string& name, const std::string& bytes) {
  if (!WriteFileBytes(File(name), bytes)) Fail("cannot write " + File(name));
}

}  // namespace bench
