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
                             "the same class as the class rule at ",
                             " (letter case aside)",
                             "an empty class name: no window has one",
                             "empty class name: no window has one, so this rule closes nothing",
                             ", so this never matches"};

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
    "the same title fragment as at ",
    "",
    "an empty title fragment: every title contains it, so every window of every listed class "
    "would be closed",
    "empty title fragment: every title contains it, so every window of a listed class is closed",
    ", so this is never found"};

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
