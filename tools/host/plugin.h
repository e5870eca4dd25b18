// A plug-in DLL loaded the way the host loads it: the six caller-cleans-up exports, blocks of
// fixed global memory in both directions.
#pragma once

#include <windows.h>

#include <string>

#include "plugin_module.h"

class Plugin {
 public:
  Plugin() = default;
  ~Plugin();
  Plugin(const Plugin&) = delete;
  Plugin& operator=(const Plugin&) = delete;

  // Loads the DLL and finds its exports; on failure says why (UTF-8) and leaves nothing loaded.
  // directory is what load receives; empty means the DLL's own directory.
  bool Open(const std::string& dllPath, const std::string& directory, std::string& error);
  // Calls load with the directory; its result.
  BOOL Load();
  // Calls unload, then releases the DLL.
  BOOL Close();

  // Each returns false when the plug-in has no such export or gave no block back.
  bool Request(const std::string& text, std::string& answer, LONG& reported, std::string& note);
  bool GetVersion(std::string& answer, LONG& reported, std::string& note);
  bool Notify(const std::string& text, HGLOBAL& result);
  bool Configure(HWND owner, int& result);

  const std::string& directory() const { return directory_; }
  const std::string& path() const { return path_; }
  bool has(const char* exportName) const;

 private:
  PluginModule module_;
  std::string directory_;
  std::string path_;
};

// The system's text for an error code, on one line, in UTF-8.
std::string ErrorText(DWORD error, const std::string& file = "");
