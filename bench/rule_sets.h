// Rule files of realistic shape for the benchmarks, the same bytes on both targets: class names
// and title fragments as ad blockers list them, in a fixed pseudo-random order.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "harness/seeded_random.h"

namespace bench {

// Seeded, so every run and both targets see the same rules.
class RuleNames {
 public:
  explicit RuleNames(uint32_t seed) : random_(seed) {}
  std::string ClassName();
  std::string TitleFragment();

 private:
  uint32_t Below(uint32_t n) { return random_.Below(n); }
  std::string Suffix(uint32_t minimum, uint32_t maximum);

  SeededRandom random_;
};

// "class,..." and "title,..." lines, CR LF ended: classes in the class list and titles in the
// title list. The last class and the last fragment are the ones the matching windows carry.
struct RuleFile {
  std::string text;
  std::vector<std::string> classes;
  std::vector<std::string> titles;
};

// classCount class lines and titleCount title lines, interleaved.
RuleFile MakeRules(uint32_t classCount, uint32_t titleCount);
// lineCount lines as a long list looks: one class line in four, a comment line in fifty, an
// empty line in a hundred, the rest title lines.
RuleFile MakeRuleLines(uint32_t lineCount);

// What a desktop shows that no rule lists.
extern const char kPlainClass[];
extern const char kPlainTitle[];

}  // namespace bench
