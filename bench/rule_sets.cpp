// Names are built from the prefixes that framework-made window classes and ad titles carry, so
// comparisons stop as late as they do on real lists.
#include "rule_sets.h"

namespace bench {

namespace {

const char* const kClassPrefixes[] = {"Afx:00400000:8:",
                                      "ATL:",
                                      "WTL_",
                                      "Internet Explorer_",
                                      "#327",
                                      "AdBanner",
                                      "CefPopup",
                                      "Chrome_Popup",
                                      "TAdForm",
                                      "ThunderRT6Form",
                                      "WindowsForms10.Window.8.app.",
                                      "Popup"};
const char* const kTitleWords[] = {"Special offer", "Sponsored",    "Advertisement",   "Click here",
                                   "You have won",  "Free trial",   "Deal of the day", "Promo",
                                   "Limited time",  "Register now", "Upgrade",         "Bonus"};
const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

}  // namespace

const char kPlainClass[] = "Chrome_WidgetWin_1";
const char kPlainTitle[] = "Quarterly report - Notes - Editor";

std::string RuleNames::Suffix(uint32_t minimum, uint32_t maximum) {
  std::string text;
  uint32_t length = minimum + Below(maximum - minimum + 1);
  for (uint32_t i = 0; i < length; ++i) text += kAlphabet[Below(sizeof kAlphabet - 1)];
  return text;
}

std::string RuleNames::ClassName() {
  return kClassPrefixes[Below(sizeof kClassPrefixes / sizeof *kClassPrefixes)] + Suffix(3, 12);
}

// A word, then a number: the plain title has no digits, so no fragment is found in it.
std::string RuleNames::TitleFragment() {
  return std::string(kTitleWords[Below(sizeof kTitleWords / sizeof *kTitleWords)]) + " " +
         std::to_string(Below(100000));
}

RuleFile MakeRules(uint32_t classCount, uint32_t titleCount) {
  RuleNames names(2024);
  RuleFile file;
  file.text = "// generated rules\r\n";
  uint32_t lines = classCount > titleCount ? classCount : titleCount;
  for (uint32_t i = 0; i < lines; ++i) {
    if (i < classCount) {
      file.classes.push_back(names.ClassName());
      file.text += "class," + file.classes.back() + "\r\n";
    }
    if (i < titleCount) {
      file.titles.push_back(names.TitleFragment());
      file.text += "title," + file.titles.back() + "\r\n";
    }
  }
  return file;
}

RuleFile MakeRuleLines(uint32_t lineCount) {
  RuleNames names(7);
  RuleFile file;
  for (uint32_t i = 0; i < lineCount; ++i) {
    if (i % 50 == 0) {
      file.text += "// list section " + std::to_string(i / 50) + "\r\n";
    } else if (i % 100 == 51) {
      file.text += "\r\n";
    } else if (i % 4 == 1) {
      file.classes.push_back(names.ClassName());
      file.text += "class," + file.classes.back() + "\r\n";
    } else {
      file.titles.push_back(names.TitleFragment());
      file.text += "title," + file.titles.back() + "\r\n";
    }
  }
  return file;
}

}  // namespace bench
