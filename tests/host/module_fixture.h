// A test fixture that gives each test the module as a fresh process would have it: closer off,
// no plug-in directory, DllMain's attach done; and a plug-in directory of its own.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "harness/temp_dir.h"

class ModuleTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Calls load with text as the directory, as the host passes it.
  void Load(const std::string& directory);
  std::string PluginDir() const;
  bool Enabled() const;
  std::string Marker() const { return dir.File("config.dat"); }

  // The instance handle DllMain was given.
  HINSTANCE instance = NULL;
  TempDir dir;
};
