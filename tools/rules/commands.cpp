// What the commands share: output, errors, the rule directory, and the matcher's verdict.
#include "commands.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include "ascii_case.h"
#include "closer/hook.h"
#include "closer/rules.h"
#include "console_text.h"
#include "is_directory.h"
#include "shared/plugin_folder.h"
#include "shared/shared_state.h"

namespace rules_cli {

void Out(const std::string& text) { WriteText(stdout, text, RuleCodePage()); }

int UsageError(const std::string& message) {
  fprintf(stderr, "lunet-rules: %s\n(lunet-rules --help tells more)\n", message.c_str());
  return kUsage;
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

std::vector<FileReport> WalkDirectory(const std::string& dir) {
  return {ReportRuleFile(dir + kRulesFile, RuleCodePage()),
          ReportRuleFile(dir + kCustomRulesFile, RuleCodePage())};
}

std::string Where(const FileReport& file, const LineReport& line) {
  return file.path + ":" + std::to_string(line.line);
}

std::string Counts(const std::vector<FileReport>& files) {
  size_t classes = RulesOf(files, LineEffect::ClassRule).size();
  size_t titles = RulesOf(files, LineEffect::TitleRule).size();
  return std::to_string(classes) + (classes == 1 ? " class rule, " : " class rules, ") +
         std::to_string(titles) + (titles == 1 ? " title fragment" : " title fragments");
}

int InternalError(const std::string& path) {
  fprintf(stderr,
          "lunet-rules: internal error: the module's loader stored other rules from %s than "
          "this check found\n",
          path.c_str());
  return kInternal;
}

int NotAFolder(const std::string& given) {
  bool missing = GetFileAttributesA(given.c_str()) == INVALID_FILE_ATTRIBUTES;
  return UsageError(given + (missing ? ": no such file or directory" : ": not a directory"));
}

int UseDirectory(const std::string& given, std::vector<FileReport>& files) {
  if (!IsDirectory(given)) return NotAFolder(given);
  std::string dir = WithSeparator(given);
  if (dir.size() >= sizeof SharedState.PluginDir) return UsageError(given + ": path too long");
  memcpy(SharedState.PluginDir, dir.c_str(), dir.size() + 1);
  files = WalkDirectory(dir);
  return kClean;
}

bool SameRule(const std::string& a, const std::string& b, LineEffect kind) {
  return kind == LineEffect::ClassRule ? CompareNoCaseAscii(a.c_str(), b.c_str()) == 0 : a == b;
}

bool RuleMatches(const std::string& rule, LineEffect kind, const std::string& text) {
  return !rule.empty() && (kind == LineEffect::ClassRule ? ClassRuleMatches : TitleRuleMatches)(
                              text.c_str(), rule.c_str());
}

namespace {

// The rule of the files at the position in the module's store of the first one the text
// matches; null when none does.
const LineReport* FirstMatch(const std::vector<FileReport>& files, LineEffect kind,
                             const std::string& text) {
  bool isClass = kind == LineEffect::ClassRule;
  std::vector<const LineReport*> rules = RulesOf(files, kind);
  RulesHold hold;
  int at = FirstMatchingRule(isClass ? KillRules.ClassRules : KillRules.TitleRules,
                             isClass ? ClassRuleMatches : TitleRuleMatches, text.c_str());
  return at >= 0 && static_cast<size_t>(at) < rules.size() ? rules[at] : nullptr;
}

}  // namespace

std::string Located(const std::vector<FileReport>& files, const LineReport* rule) {
  for (const FileReport& file : files) {
    for (const LineReport& line : file.lines) {
      if (&line == rule) return Where(file, line);
    }
  }
  return "?";
}

std::string NearMiss(const LineReport& rule, LineEffect kind, const std::string& text) {
  std::string bare = rule.text, why;
  if (bare.compare(0, 3, kBom) == 0) {
    bare.erase(0, 3);
    why = "its byte order mark";
  }
  if (Trim(bare) != bare) {
    bare = Trim(bare);
    why += std::string(why.empty() ? "" : " and ") + "the spaces at its start or end";
  }
  if (bare.empty()) return "";
  if (RuleMatches(bare, kind, text)) return why;
  if (kind == LineEffect::TitleRule && RuleMatches(FoldedAscii(bare), kind, FoldedAscii(text))) {
    return why + (why.empty() ? "" : " and ") + "letter case, which counts in titles";
  }
  return "";
}

std::string Cut(const std::string& text) { return text.substr(0, kHookTextBytes); }

Verdict Judge(const std::vector<FileReport>& files, const std::string& className,
              const std::string& title) {
  Verdict verdict;
  verdict.files = &files;
  verdict.className = className;
  verdict.title = title;
  // As the hook asks: the class first, loading the files when the store is empty.
  int classMatch = MatchClass(className.c_str());
  verdict.consistent = StoreHolds(files);
  verdict.classRule = FirstMatch(files, LineEffect::ClassRule, className);
  verdict.consistent = verdict.consistent && classMatch == (verdict.classRule != nullptr);
  if (!classMatch) return verdict;
  int titleMatch = MatchTitle(title.c_str());
  verdict.titleFragment = FirstMatch(files, LineEffect::TitleRule, title);
  verdict.consistent = verdict.consistent && titleMatch == (verdict.titleFragment != nullptr);
  return verdict;
}

std::string Named(const std::vector<FileReport>& files, const LineReport* rule, bool withText) {
  std::string kind = rule->effect == LineEffect::ClassRule ? "class rule " : "title fragment ";
  return withText ? kind + Quote(rule->text) + " (" + Located(files, rule) + ")"
                  : kind + Located(files, rule);
}

std::string Told(const Verdict& verdict, Tell part) {
  if (part == Tell::Window) {
    return "class " + Quote(verdict.className) + " title " + Quote(verdict.title);
  }
  bool withText = part != Tell::Lines;
  std::string told = part == Tell::TitleFragment
                         ? std::string()
                         : Named(*verdict.files, verdict.classRule, withText);
  if (part == Tell::ClassRule) return told;
  if (!told.empty()) told += withText ? " and " : ", ";
  return told + Named(*verdict.files, verdict.titleFragment, withText);
}

}  // namespace rules_cli
