// lunet-host's plug-in: a DLL found and mapped the way the host maps one, or told apart from a
// file that is none.
#pragma once

#include <windows.h>

#include <string>

#include "plugin_module.h"

// Maps the DLL at dllPath (made full) into plugin, as the host does, and sets directory to what
// load is to receive: the given one, else the DLL's own, full and ending in a backslash. False,
// said on stderr, when there is no such file or folder, or the file is no plug-in; then nothing
// stays mapped.
bool OpenPlugin(const std::string& dllPath, const std::string& given, PluginModule& plugin,
                std::string& directory);

// The system's text for an error code, on one line, in UTF-8.
std::string ErrorText(DWORD error, const std::string& file = "");
