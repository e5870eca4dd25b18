// Whether a path names a directory or a file, for the tools: apart from the temporary folders,
// whose std::filesystem code a tool has no use for (it would triple a tool's size).
#pragma once

#include <string>

// The path names a directory, as GetFileAttributesA sees it.
bool IsDirectory(const std::string& path);
// The path names something that is not a directory: a file.
bool IsFile(const std::string& path);
