// Windows only: a plug-in DLL mapped into this process with its six exports found by name, as a
// host maps one. The owner unmaps it.
#pragma once

#include <windows.h>

#include <string>

#include "host/plugin_abi.h"

class PluginModule {
 public:
  PluginModule() = default;
  ~PluginModule() { Unmap(); }
  PluginModule(const PluginModule&) = delete;
  PluginModule& operator=(const PluginModule&) = delete;

  // LoadLibraryExA with flags, then every export looked up; false when the file cannot be mapped
  // (GetLastError says why). Exports the DLL lacks stay null.
  bool Map(const std::string& path, DWORD flags = 0);
  void Unmap();
  HMODULE handle() const { return handle_; }
  bool HasAllExports() const;

  plugin_abi::LoadEntry load = nullptr;
  plugin_abi::UnloadEntry unload = nullptr;
  plugin_abi::RequestEntry request = nullptr;
  plugin_abi::GetVersionEntry getversion = nullptr;
  plugin_abi::NotifyEntry notify = nullptr;
  plugin_abi::ConfigureEntry configure = nullptr;

 private:
  HMODULE handle_ = NULL;
};
