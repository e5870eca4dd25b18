// The module's six exports as a host reaches them, with a fresh module behind them: linked into
// the test, or the built lunet.dll mapped from a copy of its own. The export tests are written
// once, against this, and run against each.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <ostream>
#include <string>

#include "harness/protocol/protocol.h"
#include "harness/temp_dir.h"
#include "host_call.h"

class ModuleUnderTest : public PluginEntries {
 public:
  virtual ~ModuleUnderTest() = default;
  // The module as a new host process finds it: off, no plug-in directory, the six entry points
  // set. False when it cannot be reached.
  virtual bool Start() = 0;
  // Gone, as at the host's end: switched off without touching the marker.
  virtual void Stop() = 0;
};

// One way of reaching the exports: its name in the tests' names, and how to make one.
struct ModuleKind {
  const char* name;
  std::unique_ptr<ModuleUnderTest> (*make)();
};

inline void PrintTo(const ModuleKind& kind, std::ostream* out) { *out << kind.name; }

class ExportTest : public ::testing::TestWithParam<ModuleKind> {
 protected:
  void SetUp() override;
  void TearDown() override;

  ModuleUnderTest& module() { return *module_; }
  // The module ended and started again, as by a new start of the host.
  void Restart();

  BOOL Load(const std::string& directory) { return CallLoad(module_->load, directory); }
  Answer AskId(const std::string& id) { return ::AskId(module_->request, id); }
  Answer Choose(const std::string& choice) { return ::Choose(module_->request, choice); }
  // Read from the menu, which offers the opposite of the current state.
  bool Enabled();
  std::string Marker() const { return dir.File("config.dat"); }

  TempDir dir;  // the plug-in directory

 private:
  std::unique_ptr<ModuleUnderTest> module_;
};

// Runs the export tests against the kind made by Make<kind>().
#define LUNET_EXPORT_TESTS_FOR(kind)                                                             \
  INSTANTIATE_TEST_SUITE_P(Module, ExportTest, ::testing::Values(ModuleKind{#kind, Make##kind}), \
                           [](const ::testing::TestParamInfo<ModuleKind>& info) {                \
                             return std::string(info.param.name);                                \
                           })
