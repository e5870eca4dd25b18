#include "scratch.h"

#include <dirent.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

namespace {

std::string directory;

void RemoveDirectory() {
  if (directory.empty()) return;
  if (DIR* listing = opendir(directory.c_str())) {
    while (dirent* entry = readdir(listing)) {
      std::string name = entry->d_name;
      if (name != "." && name != "..") unlink((directory + name).c_str());
    }
    closedir(listing);
  }
  rmdir(directory.c_str());
}

}  // namespace

const std::string& ScratchDir() {
  if (directory.empty()) {
    const char* base = getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/lunet-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data())) abort();
    directory = pattern + "/";
    atexit(RemoveDirectory);
  }
  return directory;
}

std::string WriteScratchFile(const char* name, const unsigned char* bytes, size_t size) {
  std::string path = ScratchDir() + name;
  FILE* file = fopen(path.c_str(), "wb");
  if (!file) abort();
  if (size && fwrite(bytes, 1, size, file) != size) abort();
  fclose(file);
  return path;
}

void RemoveScratchFile(const char* name) { unlink((ScratchDir() + name).c_str()); }
