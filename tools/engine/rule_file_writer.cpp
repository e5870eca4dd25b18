// A rule file replaced whole, and the copies Windows made of it elsewhere.
#include "rule_file_writer.h"

#include <stdlib.h>
#include <windows.h>

#include "closer/rules.h"
#include "owned.h"

namespace rule_engine {

namespace {

// A program that loads the rules holds the file for milliseconds: 2 s of retries outlast it.
constexpr int kRenameTries = 40;
constexpr DWORD kRenamePauseMs = 50;

// A file on disk writes whole or fails; rule files are far below 4 GiB.
bool WriteWhole(HANDLE file, const std::string& content) {
  DWORD size = static_cast<DWORD>(content.size()), written = 0;
  return WriteFile(file, content.data(), size, &written, NULL) && written == size &&
         FlushFileBuffers(file);
}

// A loader opens the file with read sharing only, which no rename may replace: wait it out.
WriteOutcome Rename(const std::string& from, const std::string& to) {
  for (int attempt = 0; attempt < kRenameTries; ++attempt) {
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) {
      return WriteOutcome::kWritten;
    }
    DWORD error = GetLastError();
    if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) {
      return WriteOutcome::kFailed;
    }
    if (IsReadOnlyFile(to)) return WriteOutcome::kReadOnly;  // made so since the check
    Sleep(kRenamePauseMs);
  }
  return WriteOutcome::kBusy;
}

// The first folder of a drive path, as Windows redirects it: Program Files (either), ProgramData,
// Windows.
bool Redirected(const std::string& top) {
  for (const char* name : {"Program Files", "Program Files (x86)", "ProgramData", "Windows"}) {
    if (CompareNoCaseAscii(top.c_str(), name) == 0) return true;
  }
  return false;
}

}  // namespace

bool IsReadOnlyFile(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
         !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string TemporaryFileFor(const std::string& path) {
  return path + "." + std::to_string(GetCurrentProcessId()) + ".tmp";
}

WriteOutcome WriteRuleFile(const std::string& path, const std::string& content) {
  // Windows refuses to replace a read-only file even for an administrator, and no retry gets
  // past a folder: say so before touching the folder.
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return WriteOutcome::kFailed;
    if (attributes & FILE_ATTRIBUTE_READONLY) return WriteOutcome::kReadOnly;
  }
  std::string temporary = TemporaryFileFor(path);
  FileHandle file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL));
  if (!file.valid()) {
    return GetLastError() == ERROR_ACCESS_DENIED ? WriteOutcome::kProtected : WriteOutcome::kFailed;
  }
  bool written = WriteWhole(file.get(), content);
  file.reset();
  WriteOutcome outcome = written ? Rename(temporary, path) : WriteOutcome::kFailed;
  if (outcome != WriteOutcome::kWritten) DeleteFileA(temporary.c_str());
  return outcome;
}

std::string VirtualStorePath(const std::string& fullPath, const std::string& localAppData) {
  char drive = static_cast<char>(fullPath.empty() ? 0 : fullPath[0] | 0x20);  // a letter folded
  bool drivePath =
      fullPath.size() > 3 && drive >= 'a' && drive <= 'z' && fullPath.compare(1, 2, ":\\") == 0;
  if (!drivePath || localAppData.empty()) return "";
  size_t topEnd = fullPath.find('\\', 3);  // the first folder's name is ASCII if redirected
  if (topEnd == std::string::npos || !Redirected(fullPath.substr(3, topEnd - 3))) return "";
  std::string store = localAppData;
  if (store.back() != '\\') store += '\\';
  return store + "VirtualStore\\" + fullPath.substr(3);
}

std::string FindVirtualStoreCopy(const std::string& path) {
#ifdef _WIN32
  const char* localAppData = getenv("LOCALAPPDATA");
  char full[MAX_PATH];
  DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, NULL);
  if (!localAppData || length == 0 || length >= sizeof full) return "";
  std::string copy = VirtualStorePath(std::string(full, length), localAppData);
  return !copy.empty() && GetFileAttributesA(copy.c_str()) != INVALID_FILE_ATTRIBUTES ? copy : "";
#else
  (void)path;  // only Windows redirects writes
  return "";
#endif
}

}  // namespace rule_engine
