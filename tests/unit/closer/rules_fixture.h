// A plug-in directory of rule files and a rule store emptied around each test.
#pragma once

#include <gtest/gtest.h>
#include <string.h>

#include <filesystem>
#include <string>
#include <system_error>
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
  // Both files, each written or, for an empty text, removed: a row never finds the file an
  // earlier row left behind.
  void WriteRules(const std::string& main, const std::string& custom = "") {
    WriteOrRemove("killwnd.txt", main);
    WriteOrRemove("killwnd_custom.txt", custom);
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

 private:
  void WriteOrRemove(const std::string& name, const std::string& bytes) {
    std::error_code ignored;
    if (bytes.empty()) {
      std::filesystem::remove(dir_.File(name), ignored);
    } else {
      dir_.Write(name, bytes);
    }
  }
};

using Texts = std::vector<std::string>;
