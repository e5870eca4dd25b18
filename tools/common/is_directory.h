// Whether a path names a directory, for the tools: apart from the temporary folders, whose
// std::filesystem code a tool has no use for (it would triple a tool's size).
#pragma once

#include <string>

// The path names a directory, as GetFileAttributesA sees it.
bool IsDirectory(const std::string& path);
