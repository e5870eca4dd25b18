// A plug-in directory of rule files and a rule store emptied around each test.
#pragma once

#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "closer/rules.h"
#include "harness/temp_dir.h"
#include "shared/shared_state.h"

class RulesFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearRules();
    ASSERT_LT(dir_.path().size(), sizeof SharedState.PluginDir);
    strcpy(SharedState.PluginDir, dir_.path().c_str());
  }
  void TearDown() override {
    ClearRules();
    SharedState.PluginDir[0] = 0;
  }
  void WriteRules(const std::string& main, const std::string& custom = "") {
    dir_.Write("killwnd.txt", main);
    if (!custom.empty()) dir_.Write("killwnd_custom.txt", custom);
  }
  void LoadFiles(const std::string& main, const std::string& custom = "") {
    WriteRules(main, custom);
    LoadRules(dir_.path().c_str());
  }
  static std::vector<std::string> TextsOf(const RuleList& list) {
    std::vector<std::string> texts;
    for (uint32_t i = 0; i < list.count; ++i) texts.push_back(list.items[i]->data);
    return texts;
  }
  static std::vector<std::string> Classes() { return TextsOf(KillRules.ClassRules); }
  static std::vector<std::string> Titles() { return TextsOf(KillRules.TitleRules); }

  TempDir dir_;
};

using Texts = std::vector<std::string>;
