#include "plugin_module.h"

namespace {

template <typename Entry>
void Find(HMODULE module, const char* name, Entry& entry) {
  entry = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

bool PluginModule::Map(const std::string& path, DWORD flags) {
  Unmap();
  handle_ = LoadLibraryExA(path.c_str(), NULL, flags);
  if (!handle_) return false;
  path_ = path;
  Find(handle_, plugin_abi::kLoad, load);
  Find(handle_, plugin_abi::kUnload, unload);
  Find(handle_, plugin_abi::kRequest, request);
  Find(handle_, plugin_abi::kGetVersion, getversion);
  Find(handle_, plugin_abi::kNotify, notify);
  Find(handle_, plugin_abi::kConfigure, configure);
  return true;
}

void PluginModule::Unmap() {
  if (handle_) FreeLibrary(handle_);
  handle_ = NULL;
  path_.clear();
  static_cast<PluginEntries&>(*this) = PluginEntries();
}
