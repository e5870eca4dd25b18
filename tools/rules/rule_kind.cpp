#include "rule_kind.h"

#include <string.h>

#include "closer/hook.h"

namespace rules_cli {

namespace {

int SameBytes(const char* a, const char* b) { return strcmp(a, b) == 0; }

// Indexed by RuleLineKind.
const LineEffect kEffects[] = {LineEffect::Nothing, LineEffect::Comment, LineEffect::ClassRule,
                               LineEffect::TitleRule, LineEffect::Nothing};

}  // namespace

const RuleKind kClassKind = {LineEffect::ClassRule,
                             RuleLineClass,
                             "class",
                             "class rule",
                             "class name",
                             ClassRuleMatches,
                             ClassRuleMatches,
                             &RuleStore::ClassRules,
                             true,
                             "match",
                             "matches no class rule",
                             "matches the",
                             " applies with every title fragment",
                             rules_text::kClassRuleAt,
                             rules_text::kSameClass,
                             rules_text::kEmptyClassRead,
                             rules_text::kEmptyClassTyped,
                             rules_text::kClassTooLongRead,
                             rules_text::kClassTooLongTyped,
                             rules_text::kOneClassRule,
                             rules_text::kClassRules};

const RuleKind kTitleKind = {
    LineEffect::TitleRule,
    RuleLineTitle,
    "title",
    "title fragment",
    "title",
    TitleRuleMatches,
    SameBytes,
    &RuleStore::TitleRules,
    false,
    "be found",
    "contains no title fragment",
    "contains the",
    " applies to every class rule",
    rules_text::kTitleRuleAt,
    rules_text::kSameTitle,
    rules_text::kEmptyTitleRead,
    rules_text::kEmptyTitleTyped,
    rules_text::kTitleTooLongRead,
    rules_text::kTitleTooLongTyped,
    rules_text::kOneTitleRule,
    rules_text::kTitleRules};

LineEffect EffectOf(RuleLineKind seen) { return kEffects[seen]; }

const RuleKind& KindOf(LineEffect effect) {
  return effect == LineEffect::TitleRule ? kTitleKind : kClassKind;
}

const RuleKind* KindOfKeyword(const char* keyword) {
  for (const RuleKind* kind : kRuleKinds) {
    if (CompareNoCaseAscii(keyword, kind->keyword) == 0) return kind;
  }
  return nullptr;
}

}  // namespace rules_cli
