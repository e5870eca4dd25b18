// Windows only: a plug-in DLL mapped into this process with its six exports found by name, as a
// host maps one. The owner unmaps it.
#pragma once

#include <windows.h>

#include <string>

#include "host_call.h"

class PluginModule : public PluginEntries {
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
  // The path it was mapped from, as given to Map.
  const std::string& path() const { return path_; }

 private:
  HMODULE handle_ = NULL;
  std::string path_;
};
