// The two kinds of rules as data: how the module matches each, and how the tool names them.
#pragma once

#include "closer/rules.h"
#include "engine_messages.h"

namespace rule_engine {

// What a line of a rule file does, as the tool tells it.
enum class LineEffect { Blank, Comment, ClassRule, TitleRule, Nothing };

// The one mapping from what the module's loader saw on a line to what the line does; a short
// line is blank, a comment or nothing, which its text decides.
LineEffect EffectOf(RuleLineKind seen);

struct RuleKind {
  LineEffect effect;
  RuleLineKind seen;    // the loader's name for a line of this kind
  const char* keyword;  // "class": written before the comma
  // The module's own comparison of a window's text with one rule of the kind.
  int (*matches)(const char* text, const char* rule);
  // Whether the module takes two rules for the same: class rules with ASCII letter case folded.
  int (*same)(const char* a, const char* b);
  RuleList RuleStore::*list;  // where the module stores them
  bool foldsCase;
  // The messages said of the kind: a rule line of a file; a rule equal to an earlier one; an
  // empty value and one over 254 bytes, read from a file or typed for add; a count of rules.
  engine_text::Id ruleAt, repeats;
  engine_text::Id emptyRead, emptyTyped, tooLongRead, tooLongTyped;
  engine_text::Id one, many;
  // What test says: the window's text cut to 254 bytes; it matches a rule, or none; a rule that
  // would match but for what cannot be seen; a first line lost to a byte order mark.
  engine_text::Id cut, found, foundNone, nearMiss, lostFirstLine;
  // A rule saved in another encoding; a line meant as a rule that does nothing.
  engine_text::Id otherEncoding, lostLine;
  // What add says: the rule is there already; a new one applies across the other list.
  engine_text::Id there, added;
};

extern const RuleKind kClassKind;
extern const RuleKind kTitleKind;
const RuleKind* const kRuleKinds[] = {&kClassKind, &kTitleKind};

// The kind of a rule line: rule is ClassRule or TitleRule, the effects that have a kind.
const RuleKind& KindOfRule(LineEffect rule);
// The kind whose keyword this is, letter case aside; null for another word.
const RuleKind* KindOfKeyword(const char* keyword);

}  // namespace rule_engine
