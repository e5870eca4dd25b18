// Rules to append to killwnd_custom.txt, and what they change: add applies them at once, pick
// after showing them.
#pragma once

#include <string>
#include <vector>

#include "rule_set.h"

namespace rules_cli {

struct AddPlan {
  explicit AddPlan(unsigned codePage) : before(codePage) {}
  std::string dir;   // with its separator
  std::string path;  // the custom rule file
  RuleSet before;
  std::vector<std::string> lines;     // "class,NAME" and "title,TEXT" not there yet
  std::vector<std::string> notes;     // what is skipped, and what each new rule applies to
  std::vector<std::string> warnings;  // what in a value taken may surprise
};
// Refuses a value that cannot work (with the reason on stderr, exit 2), and a read-only file
// (exit 4), before anything is shown; null means not given.
int PlanAdd(const std::string& dir, const std::string* className, const std::string* fragment,
            AddPlan& plan);
void ShowPlan(const AddPlan& plan);
// Appends in the file's own line ends (CR LF for a new file, which starts with a comment), then
// lists the open windows now closed (Windows) and what running programs do.
int ApplyAdd(const AddPlan& plan);

}  // namespace rules_cli
