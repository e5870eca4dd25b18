#include "rule_kind.h"

#include <assert.h>
#include <string.h>

#include "closer/hook.h"

namespace rule_engine {

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
                             engine_text::kClassRuleAt,
                             engine_text::kSameClass,
                             engine_text::kEmptyClassRead,
                             engine_text::kEmptyClassTyped,
                             engine_text::kClassTooLongRead,
                             engine_text::kClassTooLongTyped,
                             engine_text::kOneClassRule,
                             engine_text::kClassRules,
                             engine_text::kClassCut,
                             engine_text::kClassMatches,
                             engine_text::kClassMatchesNone,
                             engine_text::kClassNearMiss,
                             engine_text::kClassLostFirstLine,
                             engine_text::kClassInOtherEncoding,
                             engine_text::kClassLostLine,
                             engine_text::kClassThere,
                             engine_text::kNewClass};

const RuleKind kTitleKind = {LineEffect::TitleRule,
                             RuleLineTitle,
                             kTitleKeyword,
                             TitleRuleMatches,
                             SameBytes,
                             &RuleStore::TitleRules,
                             false,
                             engine_text::kTitleRuleAt,
                             engine_text::kSameTitle,
                             engine_text::kEmptyTitleRead,
                             engine_text::kEmptyTitleTyped,
                             engine_text::kTitleTooLongRead,
                             engine_text::kTitleTooLongTyped,
                             engine_text::kOneTitleRule,
                             engine_text::kTitleRules,
                             engine_text::kTitleCut,
                             engine_text::kTitleContains,
                             engine_text::kTitleContainsNone,
                             engine_text::kTitleNearMiss,
                             engine_text::kTitleLostFirstLine,
                             engine_text::kTitleInOtherEncoding,
                             engine_text::kTitleLostLine,
                             engine_text::kTitleThere,
                             engine_text::kNewTitle};

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

}  // namespace rule_engine
