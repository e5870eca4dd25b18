// A private scratch directory for one fuzz process, removed with its files at exit.
#pragma once

#include <stddef.h>

#include <string>

// The directory with a trailing separator; made on first use.
const std::string& ScratchDir();
// Writes bytes to name in the scratch directory (replacing it); returns the full path.
std::string WriteScratchFile(const char* name, const unsigned char* bytes, size_t size);
void RemoveScratchFile(const char* name);
