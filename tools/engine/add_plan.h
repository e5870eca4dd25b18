// Rules to append to killwnd_custom.txt, and what they change across the two lists: planned
// here, shown and applied by a front end (add and pick at once or after a question, the window
// after showing them).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "rule_set.h"

#ifdef _WIN32
#include "desktop.h"
#endif

namespace rule_engine {

// Why nothing may be added: a value that cannot work, a rule file with the read-only attribute
// (Windows refuses to write it even to an administrator), or text that would leave the file in
// two encodings.
enum class AddRefusal { kNone, kValue, kReadOnly, kMixedEncodings };

struct AddPlan {
  explicit AddPlan(unsigned codePage) : before(codePage) {}
  std::string dir;                    // with its separator
  std::string path;                   // the custom rule file
  RuleSet before;                     // the folder's rules as they are
  std::vector<std::string> lines;     // "class,NAME" and "title,TEXT" not there yet
  std::vector<std::string> notes;     // what is skipped, and what each new rule applies to
  std::vector<std::string> warnings;  // what in a value taken may surprise
  AddRefusal refused = AddRefusal::kNone;
  std::string refusal;  // why, in this run's language; "" when not refused
};

// Plans the rules for the folder dir (with its separator), whose rules plan.before holds
// (LoadFolder): false, with the refusal, when nothing may be added; null means not given.
bool PlanAdd(const std::string& dir, const std::string* className, const std::string* fragment,
             AddPlan& plan);

// Each rule file of dir (with its separator) of which Windows keeps a redirected copy, shown,
// with what to do about the copy.
std::vector<std::pair<std::string, std::string>> VirtualStoreCopies(const std::string& dir);

// When running programs use the rules just written, in the words the guides use.
std::string WhenNewRulesApply();

#ifdef _WIN32
// The open windows that the rules after a change close and those before it did not.
std::vector<OpenWindow> NewlyClosed(const RuleSet& before, const RuleSet& after);
#endif

}  // namespace rule_engine
