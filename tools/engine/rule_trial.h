// A window's class and title tried against a set of rules: the verdict, and what in the rules
// explains it, as test says it and the window shows it.
#pragma once

#include <string>
#include <vector>

#include "rule_set.h"

namespace rule_engine {

struct Trial {
  Verdict verdict;
  // In this run's language, in order: the texts the hook would cut, the rules found or not
  // found, hints at rules that fail only by what cannot be seen, the verdict.
  std::vector<std::string> lines;
};

// The class and title as the window holds them (longer ones are cut as the hook cuts them).
Trial TryWindow(const RuleSet& rules, const std::string& className, const std::string& title);

}  // namespace rule_engine
