// The module linked into the test, given to each test as a fresh process would have it: closer
// off, no plug-in directory, DllMain's attach done; and a plug-in directory of its own.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "harness/temp_dir.h"
#include "unit/host/export_test.h"

class LinkedModule : public ModuleUnderTest {
 public:
  LinkedModule();
  bool Start() override;
  void Stop() override;

  // The instance handle DllMain was given.
  HINSTANCE instance = NULL;
};

class ModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(dir.path().empty());
    ASSERT_TRUE(module.Start());
    instance = module.instance;
  }
  void TearDown() override { module.Stop(); }

  // Calls load with text as the directory, as the host passes it.
  void Load(const std::string& directory);
  bool Enabled() const;
  std::string Marker() const { return dir.File("config.dat"); }

  LinkedModule module;
  HINSTANCE instance = NULL;
  TempDir dir;
};
