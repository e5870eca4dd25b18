#include "soak.h"

namespace soak {

const char* const kListedClass = "SoakPopup";
const char* const kPlainClass = "SoakDocument";
const std::vector<std::string> kBaseFragments = {"Free prize", "Casino bonus", "Hot deal today"};
const std::vector<std::string> kExtraFragments = {"Extra one", "Extra two", "Extra three",
                                                  "Extra four"};

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

char TitleKind(bool listedClass, const std::string& title) {
  if (!listedClass) return 'p';
  for (const std::string& fragment : kBaseFragments) {
    if (title.find(fragment) != std::string::npos) return 'b';
  }
  for (const std::string& fragment : kExtraFragments) {
    if (title.find(fragment) != std::string::npos) return 'c';
  }
  return 'p';
}

}  // namespace soak
