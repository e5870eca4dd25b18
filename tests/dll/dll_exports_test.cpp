// The export tests against the built lunet.dll as the host uses it: a copy of its own for each
// test, mapped with LoadLibraryA, its six exports found by name.
#include <gtest/gtest.h>

#include "dll/plugin_host.h"
#include "unit/host/export_test.h"

namespace {

class BuiltDll : public ModuleUnderTest {
 public:
  bool Start() override {
    if (host_.dllPath.empty() || !host_.Map()) return false;
    static_cast<PluginEntries&>(*this) = host_;
    return true;
  }
  // The last FreeLibrary in the process drops the shared section: a new start finds it zeroed.
  void Stop() override { host_.Unmap(); }

 private:
  PluginHost host_;
};

std::unique_ptr<ModuleUnderTest> MakeBuiltDll() { return std::make_unique<BuiltDll>(); }

LUNET_EXPORT_TESTS_FOR(BuiltDll);

}  // namespace
