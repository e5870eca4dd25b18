#include "harness/protocol/protocol.h"

Answer AskId(RequestEntry entry, const std::string& id) { return Ask(entry, RequestText(id)); }

Answer Choose(RequestEntry entry, const std::string& choice) {
  return Ask(entry, ChoiceText(choice));
}

std::string Sent(const std::string& text) { return text + std::string(1, '\0'); }

::testing::AssertionResult Answered(const Answer& answer, const std::string& text, LONG length) {
  if (!answer.returned) return ::testing::AssertionFailure() << "no answer block";
  if (answer.length != length) {
    return ::testing::AssertionFailure() << "length " << answer.length << ", not " << length;
  }
  if (answer.bytes != Sent(text)) {
    return ::testing::AssertionFailure() << "answer\n"
                                         << ::testing::PrintToString(answer.bytes) << "\nnot\n"
                                         << ::testing::PrintToString(Sent(text));
  }
  return ::testing::AssertionSuccess();
}

namespace {

const char kOk[] = "PLUGIN/2.0 200 OK\r\nCharset: Shift_JIS\r\n";
// Shift_JIS bytes of the Japanese texts.
const char kSjisEnabledNow[] = "\x97\x4C\x8C\xF8\x82\xC9\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x42";
const char kSjisDisabledNow[] = "\x96\xB3\x8C\xF8\x82\xC9\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x42";
const char kSjisEnable[] = "\x97\x4C\x8C\xF8\x82\xC9\x82\xB7\x82\xE9";
const char kSjisDisable[] = "\x96\xB3\x8C\xF8\x82\xC9\x82\xB7\x82\xE9";
const char kSjisCancel[] = "\x83\x4C\x83\x83\x83\x93\x83\x5A\x83\x8B";
const char kSjisTitle[] =
    "\x83\x7E\x83\x4A\x83\x67\x83\x8C\x83\x6D\x83\x58\x83\x6E\x83\x8B\x83\x5B";

}  // namespace

namespace answer {

const std::string kNoContent = "PLUGIN/2.0 204 No Content\r\nCharset: Shift_JIS\r\n\r\n";
const std::string kVersion = std::string(kOk) + "Value: PLUGIN/2.0\r\n\r\n";
const std::string kCancelled = std::string(kOk) + "Script: \\h\\b[-1]\\u\\b[-1]\\e\r\n\r\n";
const std::string kNowEnabled = std::string(kOk) + "Script: \\h" + kSjisEnabledNow + "\\e\r\n\r\n";
const std::string kNowDisabled =
    std::string(kOk) + "Script: \\h" + kSjisDisabledNow + "\\e\r\n\r\n";

std::string Menu(bool enabled) {
  std::string toggle = enabled ? kSjisDisable : kSjisEnable;
  toggle += enabled ? ",off" : ",on";
  std::string menu = kOk;
  menu += "SecurityLevel: local\r\n";
  menu += "Marker: Zorvel PLUGIN Menu\r\n";
  menu += std::string("Script: \\h\\f[bold,true]\\[") + kSjisTitle + "\\]\\f[bold,normal]";
  menu += "\\n\\n[half]\\![*]\\q[" + toggle + "]";
  menu += std::string("\\n\\n[half]\\![*]\\q[") + kSjisCancel + ",cancel]\\e\r\n";
  menu += "Event: OnZorvelMenu\r\n";
  menu += "Reference0: " + toggle + "\r\n";
  menu += std::string("Reference1: ") + kSjisCancel + ",cancel\r\n";
  return menu + "\r\n";
}

}  // namespace answer

std::vector<Exchange> IdentifierExchanges() {
  const std::string menu = Sent(answer::Menu(false));
  const std::string version = Sent(answer::kVersion);
  const std::string none = Sent(answer::kNoContent);
  std::string afterNul = "Note: x";
  afterNul += '\0';
  afterNul += "\r\nID: version\r\n\r\n";
  const std::string choice = "ID: OnChoiceSelect\r\nReference0:";
  return {
      {"no space after the colon", "ID:OnMenuExec\r\n\r\n", menu},
      {"spaces after the colon", "ID:     OnMenuExec\r\n\r\n", menu},
      {"a tab after the colon", "ID:\tOnMenuExec\r\n\r\n", none},
      {"header name in other case", "Id: OnMenuExec\r\n\r\n", none},
      {"longer identifier", "ID: versionX\r\n\r\n", version},
      {"longer menu identifier", "ID: OnMenuExecute\r\n\r\n", menu},
      {"longer choice identifier", "ID: OnChoiceSelected\r\nReference0: cancel\r\n\r\n",
       Sent(answer::kCancelled)},
      {"identifier in other case", "ID: Version\r\n\r\n", none},
      {"shorter identifier", "ID: versio\r\n\r\n", none},
      {"SenderID comes first", "SenderID: tester\r\nID: version\r\n\r\n", none},
      {"SenderID names a served one", "SenderID: version\r\nID: OnMenuExec\r\n\r\n", version},
      {"Reference0 of a menu request", "ID: OnMenuExec\r\nReference0: on\r\n\r\n", menu},
      {"first Reference0 counts", "Reference0: cancel\r\n" + choice + " on\r\n\r\n",
       Sent(answer::kCancelled)},
      {"empty request", "", none},
      {"no identifier", "GET PLUGIN/2.0\r\nSender: tester\r\n\r\n", none},
      {"choice without Reference0", "ID: OnChoiceSelect\r\n\r\n", none},
      {"choice o", choice + " o\r\n\r\n", none},
      {"choice in other case", choice + " ON\r\n\r\n", none},
      {"tab before the choice", choice + "\ton\r\n\r\n", none},
      {"unknown choice", choice + " maybe\r\n\r\n", none},
      {"text after a NUL", afterNul, none},
  };
}

const std::string kEnabledMessage =
    "\x97\x4C\x8C\xF8\x82\xC9\x82\xC8\x82\xE8\x82\xDC\x82\xB5\x82\xBD\x81\x42";
const std::string kDisabledMessage =
    "\x96\xB3\x8C\xF8\x82\xC9\x82\xC8\x82\xE8\x82\xDC\x82\xB5\x82\xBD\x81\x42";
