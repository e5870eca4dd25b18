// The rules are loaded and matched by the module's own loader (LoadRules, LoadRuleFile) and
// matcher (FirstMatchingRule with the kinds' comparisons), into a store of the set's own.
#include "rule_set.h"

#include <windows.h>

#include "ascii_case.h"
#include "closer/hook.h"
#include "console_text.h"
#include "shared/plugin_folder.h"

namespace rule_engine {

RuleSet::RuleSet(unsigned codePage) : codePage_(codePage), store_(new RuleStore) {}

// As LoadRules loads them: the rules file, then the custom one.
void RuleSet::LoadFolder(const std::string& dir) {
  LoadFile(dir + kRulesFile);
  LoadFile(dir + kCustomRulesFile);
}

void RuleSet::LoadFile(const std::string& path) {
  files_.push_back(ReportRuleFile(path, codePage_, *store_));
}

const LineReport* RuleSet::FirstMatch(const RuleKind& kind, const std::string& text) const {
  std::vector<const LineReport*> rules = Rules(kind);
  int at = FirstMatchingRule((*store_).*kind.list, kind.matches, text.c_str());
  return at >= 0 && static_cast<size_t>(at) < rules.size() ? rules[at] : nullptr;
}

Verdict RuleSet::Judge(const std::string& className, const std::string& title) const {
  Verdict verdict;
  verdict.rules = this;
  verdict.className = className;
  verdict.title = title;
  verdict.classRule = FirstMatch(kClassKind, className);
  if (verdict.classRule) verdict.titleFragment = FirstMatch(kTitleKind, title);
  return verdict;
}

std::string WithSeparator(std::string dir) {
  if (dir.empty()) dir = ".";
  char last = dir.back();
  if (last != '/' && last != '\\') {
#ifdef _WIN32
    dir += '\\';
#else
    dir += '/';
#endif
  }
  return dir;
}

std::string Where(const FileReport& file, const LineReport& line) {
  return PathText(file.path) + ":" + std::to_string(line.line);
}

std::string Counts(const RuleSet& rules, Language language) {
  const RuleKind& c = kClassKind;
  const RuleKind& t = kTitleKind;
  return TextIn(language, engine_text::kCommaJoined,
                Counted(rules.Rules(c).size(), c.one, c.many, language),
                Counted(rules.Rules(t).size(), t.one, t.many, language));
}

bool RuleMatches(const std::string& rule, const RuleKind& kind, const std::string& text) {
  return !rule.empty() && kind.matches(text.c_str(), rule.c_str());
}

const FileReport* FileOf(const std::vector<FileReport>& files, const LineReport* line) {
  for (const FileReport& file : files) {
    for (const LineReport& candidate : file.lines) {
      if (&candidate == line) return &file;
    }
  }
  return nullptr;
}

std::string Located(const std::vector<FileReport>& files, const LineReport* rule) {
  const FileReport* file = FileOf(files, rule);
  return file ? Where(*file, *rule) : "?";
}

std::string NearMiss(const LineReport& rule, const RuleKind& kind, const std::string& text,
                     unsigned codePage) {
  std::string bare = rule.text, why;
  std::string joined = Text(engine_text::kWhyAnd);
  if (bare.compare(0, 3, kBom) == 0) {
    bare.erase(0, 3);
    why = Text(engine_text::kWhyBom);
  }
  if (Trim(bare) != bare) {
    bare = Trim(bare);
    why += (why.empty() ? "" : joined) + Text(engine_text::kWhySpaces);
  }
  if (WithoutWideEdges(bare, codePage) != bare) {
    bare = WithoutWideEdges(bare, codePage);
    why += (why.empty() ? "" : joined) + Text(engine_text::kWhyFullWidthSpaces);
  }
  if (bare.empty()) return "";
  if (RuleMatches(bare, kind, text)) return why;
  if (!kind.foldsCase && RuleMatches(FoldedAscii(bare), kind, FoldedAscii(text))) {
    return why + (why.empty() ? "" : joined) + Text(engine_text::kWhyCase);
  }
  return "";
}

std::string Cut(const std::string& text) { return text.substr(0, kHookTextBytes); }

}  // namespace rule_engine
