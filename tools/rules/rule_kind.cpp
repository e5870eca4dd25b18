#include "rule_kind.h"

#include <assert.h>
#include <string.h>

#include "closer/hook.h"

namespace rules_cli {

namespace {

int SameBytes(const char* a, const char* b) { return strcmp(a, b) == 0; }

// Indexed by RuleLineKind, whose last is RuleLineOther.
const LineEffect kEffects[] = {LineEffect::Nothing, LineEffect::Comment, LineEffect::ClassRule,
                               LineEffect::TitleRule, LineEffect::Nothing};
static_assert(sizeof kEffects / sizeof kEffects[0] == RuleLineOther + 1,
              "one effect for each RuleLineKind, in its order");

}  // namespace

const RuleKind kClassKind = {LineEffect::ClassRule,
                             RuleLineClass,
                             kClassKeyword,
                             ClassRuleMatches,
                             ClassRuleMatches,
                             &RuleStore::ClassRules,
                             true,
                             rules_text::kClassRuleAt,
                             rules_text::kSameClass,
                             rules_text::kEmptyClassRead,
                             rules_text::kEmptyClassTyped,
                             rules_text::kClassTooLongRead,
                             rules_text::kClassTooLongTyped,
                             rules_text::kOneClassRule,
                             rules_text::kClassRules,
                             rules_text::kClassCut,
                             rules_text::kClassMatches,
                             rules_text::kClassMatchesNone,
                             rules_text::kClassNearMiss,
                             rules_text::kClassLostFirstLine,
                             rules_text::kClassInOtherEncoding,
                             rules_text::kClassLostLine,
                             rules_text::kClassThere,
                             rules_text::kNewClass};

const RuleKind kTitleKind = {LineEffect::TitleRule,
                             RuleLineTitle,
                             kTitleKeyword,
                             TitleRuleMatches,
                             SameBytes,
                             &RuleStore::TitleRules,
                             false,
                             rules_text::kTitleRuleAt,
                             rules_text::kSameTitle,
                             rules_text::kEmptyTitleRead,
                             rules_text::kEmptyTitleTyped,
                             rules_text::kTitleTooLongRead,
                             rules_text::kTitleTooLongTyped,
                             rules_text::kOneTitleRule,
                             rules_text::kTitleRules,
                             rules_text::kTitleCut,
                             rules_text::kTitleContains,
                             rules_text::kTitleContainsNone,
                             rules_text::kTitleNearMiss,
                             rules_text::kTitleLostFirstLine,
                             rules_text::kTitleInOtherEncoding,
                             rules_text::kTitleLostLine,
                             rules_text::kTitleThere,
                             rules_text::kNewTitle};

LineEffect EffectOf(RuleLineKind seen) { return kEffects[seen]; }

const RuleKind& KindOfRule(LineEffect rule) {
  assert(rule == LineEffect::ClassRule || rule == LineEffect::TitleRule);
  return rule == LineEffect::TitleRule ? kTitleKind : kClassKind;
}

const RuleKind* KindOfKeyword(const char* keyword) {
  for (const RuleKind* kind : kRuleKinds) {
    if (CompareNoCaseAscii(keyword, kind->keyword) == 0) return kind;
  }
  return nullptr;
}

}  // namespace rules_cli
