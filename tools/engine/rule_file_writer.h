// Rule files written whole: a temporary file beside the rule file, then renamed over it, so a
// program that loads the rules sees the old file or the new one, never a part. Says nothing
// itself: callers (add, a rule editor) put the outcome in words.
#pragma once

#include <string>

namespace rule_engine {

enum class WriteOutcome {
  kWritten,
  kReadOnly,   // the rule file has the read-only attribute: nothing written
  kBusy,       // a program still held the rule file open after the retries
  kProtected,  // no file may be made in its folder (under Program Files without elevation)
  kFailed,     // anything else: the folder vanished, the disk is full
};

// Replaces (or creates) the file at path with content, byte for byte.
WriteOutcome WriteRuleFile(const std::string& path, const std::string& content);
// The temporary file WriteRuleFile writes beside path, named for this process.
std::string TemporaryFileFor(const std::string& path);
bool IsReadOnlyFile(const std::string& path);

// Where a program without a manifest had its writes to a protected folder put: the file in the
// user's VirtualStore mirroring fullPath, or "" for a path Windows does not redirect (outside
// Program Files, ProgramData and Windows, on a network, or not full).
std::string VirtualStorePath(const std::string& fullPath, const std::string& localAppData);
// The redirected copy of the rule file at path that exists now, or "" (always "" but on Windows).
std::string FindVirtualStoreCopy(const std::string& path);

}  // namespace rule_engine
