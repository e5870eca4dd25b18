// lunet-host's plug-in: a DLL found and mapped the way the host maps one, or told apart from a
// file that is none.
#pragma once

#include <windows.h>

#include <string>

#include "plugin_module.h"

// The folder load is to receive, full and ending in a backslash: given, else the DLL's own.
// False, said on stderr, when given is no folder.
bool LoadFolder(const std::string& dllPath, const std::string& given, std::string& folder);

// Maps the DLL at dllPath (made full) into plugin, as the host does. False, said on stderr, when
// there is no such file or the file is no plug-in; then nothing stays mapped.
bool OpenPlugin(const std::string& dllPath, PluginModule& plugin);

// The system's text for an error code, on one line, in UTF-8.
std::string ErrorText(DWORD error, const std::string& file = "");
