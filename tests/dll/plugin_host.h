// The tests' side of a real plug-in host: lunet.dll copied into a fresh plug-in directory,
// loaded with LoadLibraryA and driven through its exports found by name; and the output of the
// other programs of a cross-process test, read back.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "harness/protocol/protocol.h"
#include "harness/temp_dir.h"
#include "plugin_module.h"
#include "shared/shared_state.h"

// A built file named by an environment variable that holds its path on the build machine.
std::string BuiltFile(const char* variable);

class PluginHost : public PluginModule {
 public:
  PluginHost();
  ~PluginHost();
  PluginHost(const PluginHost&) = delete;
  PluginHost& operator=(const PluginHost&) = delete;

  // LoadLibraryA on the copy and GetProcAddress for the six exports; false if any is missing.
  bool Map();
  // unload when it was loaded, then FreeLibrary.
  void Unmap();

  // load with the plug-in directory (or another one), as the host passes it.
  BOOL Load() { return LoadFrom(dir.path()); }
  BOOL LoadFrom(const std::string& directory);
  Answer Ask(const std::string& text) { return ::Ask(request, text); }
  Answer AskId(const std::string& id) { return ::AskId(request, id); }
  Answer Choose(const std::string& choice) { return ::Choose(request, choice); }

  // The shared section as this process maps it (read only, for checks).
  const SharedStateRecord* Shared() const;

  TempDir dir;
  std::string dllPath;

 private:
  bool loaded_ = false;
};

// One line of lunet-adwindows: "closed <ms> CLASS TITLE" or "open CLASS TITLE".
struct WindowFate {
  bool closed = false;
  double ms = 0;
  std::string window;  // "CLASS TITLE"
};
std::vector<WindowFate> ParseWindowFates(const std::string& output);
// "closed", "open", or "missing" for the window "CLASS TITLE".
std::string FateOf(const std::vector<WindowFate>& fates, const std::string& window);
