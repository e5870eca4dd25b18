// The one check of a rule's value: what keeps it from doing what it seems to, and what add and
// the window refuse to write.
#include "rule_value.h"

#include "code_page.h"
#include "code_page_advice.h"
#include "engine_messages.h"
#include "text.h"

namespace rule_engine {

using namespace engine_text;

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

}  // namespace

unsigned CheckRuleValue(const std::string& value) {
  bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
  if (value.empty()) return 1u << static_cast<unsigned>(ValueFault::Empty);
  return (value.find(',') != std::string::npos) << static_cast<unsigned>(ValueFault::Comma) |
         (value.find_first_of("\r\n") != std::string::npos)
             << static_cast<unsigned>(ValueFault::LineEnd) |
         (IsSpace(value.front()) || IsSpace(value.back()))
             << static_cast<unsigned>(ValueFault::EdgeSpaces) |
         quoted << static_cast<unsigned>(ValueFault::Quotes) |
         (value.size() > kHookTextBytes) << static_cast<unsigned>(ValueFault::TooLong);
}

std::string FaultText(ValueFault fault, const RuleKind& kind, const std::string& value,
                      unsigned codePage, bool typed) {
  switch (fault) {
    case ValueFault::Empty: return Text(typed ? kind.emptyTyped : kind.emptyRead);
    case ValueFault::Comma:
      return Text(kComma, kind.keyword,
                  RuleText(Quote(value.substr(0, value.find(','))), codePage));
    case ValueFault::LineEnd: return Text(kLineEnd);
    case ValueFault::EdgeSpaces: return Text(typed ? kEdgeSpacesTyped : kEdgeSpacesRead);
    case ValueFault::Quotes: return Text(kQuotes);
    case ValueFault::TooLong: return Text(typed ? kind.tooLongTyped : kind.tooLongRead);
  }
  return "";
}

bool Refused(ValueFault fault) {
  return fault == ValueFault::Empty || fault == ValueFault::Comma || fault == ValueFault::LineEnd ||
         fault == ValueFault::TooLong || fault == ValueFault::EdgeSpaces;
}

std::string Refusal(const RuleKind& kind, const std::string& value, unsigned codePage,
                    std::vector<std::string>& warnings) {
  unsigned faults = CheckRuleValue(value);
  for (ValueFault fault : kValueFaults) {
    if (!Has(faults, fault)) continue;
    if (Refused(fault)) return FaultText(fault, kind, value, codePage, true);
    warnings.push_back(FaultText(fault, kind, value, codePage, true));
  }
  if (WideEdges(value, codePage)) return Text(kFullWidthEdgeTyped);
  std::string twin = kind.foldsCase ? FoldTwin(value, codePage) : "";
  if (!twin.empty()) warnings.push_back(twin);
  return "";
}

FragmentFit FitInTitle(const std::string& fragment, const std::string& title) {
  if (title.substr(0, kHookTextBytes).find(fragment) != std::string::npos) {
    return FragmentFit::kFits;
  }
  return title.find(fragment) != std::string::npos ? FragmentFit::kBeyondHookBytes
                                                   : FragmentFit::kNotInTitle;
}

std::string FitText(FragmentFit fit, const std::string& fragment, unsigned codePage) {
  std::string shown = RuleText(Quote(fragment), codePage);
  switch (fit) {
    case FragmentFit::kFits: return "";
    case FragmentFit::kNotInTitle: return Text(kFragmentNotInTitle, shown);
    case FragmentFit::kBeyondHookBytes:
      return Text(kFragmentBeyondHookBytes, shown, kHookTextBytes);
  }
  return "";
}

}  // namespace rule_engine
