#include "soak.h"

namespace soak {

const char* const kListedClass = "SoakPopup";
const char* const kPolledClass = "SoakPolledPopup";
const char* const kPlainClass = "SoakDocument";
const std::vector<std::string> kBaseFragments = {"Free prize", "Casino bonus", "Hot deal today"};
const std::vector<std::string> kExtraFragments = {"Extra one", "Extra two", "Extra three",
                                                  "Extra four"};
const std::vector<std::string> kPolledFragments = {"Polled prize", "Polled bonus"};

std::string BaseRules() {
  std::string text = "// the soak's rules, present for the whole run\r\nclass," +
                     std::string(kListedClass) + "\r\n";
  for (const std::string& fragment : kBaseFragments) text += "title," + fragment + "\r\n";
  return text;
}

std::string CustomRules(int edit) {
  // Edits 0..3 add one extra fragment each, 4..7 take them away again, and so on.
  int phase = edit % (2 * static_cast<int>(kExtraFragments.size()));
  int first = phase < 4 ? 0 : phase - 3, last = phase < 4 ? phase : 3;
  std::string text = "// rewritten while the soak runs\r\n";
  for (int i = first; i <= last; ++i) text += "title," + kExtraFragments[i] + "\r\n";
  return text;
}

std::string PollerRules() {
  std::string text = "class," + std::string(kPolledClass) + "\r\n";
  for (const std::string& fragment : kPolledFragments) text += "title," + fragment + "\r\n";
  return text;
}

const char* ClassOf(Owner owner) {
  return owner == Owner::kHook     ? kListedClass
         : owner == Owner::kPoller ? kPolledClass
                                   : kPlainClass;
}

namespace {

bool HoldsAny(const std::string& title, const std::vector<std::string>& fragments) {
  for (const std::string& fragment : fragments) {
    if (title.find(fragment) != std::string::npos) return true;
  }
  return false;
}

}  // namespace

TitleKind KindOf(Owner owner, const std::string& title) {
  if (owner == Owner::kPoller) {
    return HoldsAny(title, kPolledFragments) ? TitleKind::kPolled : TitleKind::kPlain;
  }
  if (owner != Owner::kHook) return TitleKind::kPlain;
  if (HoldsAny(title, kBaseFragments)) return TitleKind::kBase;
  return HoldsAny(title, kExtraFragments) ? TitleKind::kExtra : TitleKind::kPlain;
}

}  // namespace soak
