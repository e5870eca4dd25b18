// The value of a class rule or title fragment: what keeps it from doing what it seems to, for a
// line of a file (check, the window's list) and a value typed (add, pick, the window).
#pragma once

#include <string>
#include <vector>

#include "closer/hook.h"
#include "rule_kind.h"

namespace rule_engine {

// The hook reads at most this many bytes of a class name or a title.
const size_t kHookTextBytes = kWindowTextCount - 1;

enum class ValueFault { Empty, Comma, LineEnd, EdgeSpaces, Quotes, TooLong };
const ValueFault kValueFaults[] = {ValueFault::Empty,      ValueFault::Comma,  ValueFault::LineEnd,
                                   ValueFault::EdgeSpaces, ValueFault::Quotes, ValueFault::TooLong};
// One bit (1 << fault) for each fault found. A value read from a file holds no comma or line
// end: the loader cuts it there.
unsigned CheckRuleValue(const std::string& value);
inline bool Has(unsigned faults, ValueFault fault) {
  return (faults >> static_cast<unsigned>(fault)) & 1;
}
// Why the fault matters, said of a rule line in a file, or (typed) of a value to be written; the
// value is in codePage, the text in UTF-8.
std::string FaultText(ValueFault fault, const RuleKind& kind, const std::string& value,
                      unsigned codePage, bool typed);
// A value with this fault is refused; the others are taken as they are.
bool Refused(ValueFault fault);

// Why a typed value cannot be a rule of that kind, or "" when it can; what it can be with a
// surprise goes to warnings.
std::string Refusal(const RuleKind& kind, const std::string& value, unsigned codePage,
                    std::vector<std::string>& warnings);

// Whether a title fragment closes the window with that title (the whole title; the hook reads
// its first kHookTextBytes bytes): it must occur there.
enum class FragmentFit { kFits, kNotInTitle, kBeyondHookBytes };
FragmentFit FitInTitle(const std::string& fragment, const std::string& title);
// Why the fragment does not fit, in this run's language (fragment and title in codePage); "" for
// kFits.
std::string FitText(FragmentFit fit, const std::string& fragment, unsigned codePage);

}  // namespace rule_engine
