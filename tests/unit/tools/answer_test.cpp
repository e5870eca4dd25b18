// lunet-host's reading of answers: the menu's choices, balloon text and headers, on Shift_JIS
// text whose second bytes can look like script syntax.
#include "answer.h"

#include <gtest/gtest.h>

#include "host_call.h"

namespace {

// The menu script as the plug-in sends it while the closer is off.
const char kMenuScript[] =
    "\\h\\f[bold,true]\\[\x83\x7E\x83\x4A\x83\x67\\]\\f[bold,normal]\\n\\n[half]"
    "\\![*]\\q[\x97\x4C\x8C\xF8\x82\xC9\x82\xB7\x82\xE9,on]\\n\\n[half]"
    "\\![*]\\q[\x83\x4C\x83\x83\x83\x93\x83\x5A\x83\x8B,cancel]\\e";

// Each choice of the script as "label|id".
std::vector<std::string> Choices(const std::string& script) {
  std::vector<std::string> choices;
  for (const Choice& choice : ParseChoices(script)) {
    choices.push_back(choice.label + "|" + choice.id);
  }
  return choices;
}

TEST(HostAnswer, MenuChoicesInOrder) {
  EXPECT_EQ((std::vector<std::string>{"\x97\x4C\x8C\xF8\x82\xC9\x82\xB7\x82\xE9|on",
                                      "\x83\x4C\x83\x83\x83\x93\x83\x5A\x83\x8B|cancel"}),
            Choices(kMenuScript));
}

TEST(HostAnswer, TrailBytesThatLookLikeSyntaxStayInTheLabel) {
  // 83 5C and 83 5D are single characters whose second bytes are '\' and ']'; 83 2C does not
  // exist, but a comma is never a trail byte, so "x,y" splits at the real comma.
  EXPECT_EQ((std::vector<std::string>{"\x83\x5C\x83\x5D|first", "plain|second,x"}),
            Choices("\\q[\x83\x5C\x83\x5D,first]\\q[plain,second,x]"));
}

TEST(HostAnswer, NothingAfterTheEndTagCounts) {
  EXPECT_TRUE(Choices("\\h text \\e\\q[late,late]").empty());
  EXPECT_EQ(" text ", BalloonText("\\h text \\e\\q[late,late]"));
}

TEST(HostAnswer, BalloonShowsTextBreaksAndChoices) {
  EXPECT_EQ(
      "[\x83\x7E\x83\x4A\x83\x67]\n\n[\x97\x4C\x8C\xF8\x82\xC9\x82\xB7\x82\xE9]\n\n"
      "[\x83\x4C\x83\x83\x83\x93\x83\x5A\x83\x8B]",
      BalloonText(kMenuScript));
  EXPECT_EQ("a\\b", BalloonText("a\\\\b"));
  EXPECT_EQ(
      "\x83\x5C"
      "after",
      BalloonText("\x83\x5C\\b[-1]after"));
}

TEST(HostAnswer, LineHeaderValueReadsWholeLinesOnly) {
  std::string answer =
      "PLUGIN/2.0 200 OK\r\nXScript: no\r\nScript:   \\hyes\\e\r\nValue: v\r\n\r\n";
  const char* const cases[][2] = {{"Script", "\\hyes\\e"}, {"Value", "v"}, {"Reference0", ""}};
  for (const auto& c : cases) EXPECT_EQ(c[1], LineHeaderValue(answer, c[0])) << c[0];
}

TEST(HostAnswer, RequestsCarryIdAndReference) {
  const char kHeaders[] =
      " PLUGIN/2.0\r\nSender: lunet-host\r\nCharset: Shift_JIS\r\n"
      "SecurityLevel: local\r\nID: ";
  EXPECT_EQ(std::string("GET") + kHeaders + "OnMenuExec\r\n\r\n", RequestText("OnMenuExec"));
  EXPECT_EQ(std::string("GET") + kHeaders + "OnChoiceSelect\r\nReference0: off\r\n\r\n",
            ChoiceText("off"));
  EXPECT_EQ(std::string("NOTIFY") + kHeaders + "OnBoot\r\n\r\n", ProtocolText("NOTIFY", "OnBoot"));
}

TEST(HostAnswer, HexDumpShowsOffsetsBytesAndText) {
  std::string bytes = "PLUGIN/2.0\r\n\x83\x4C" + std::string(1, '\0') + "xyz";
  EXPECT_EQ(
      "00000000  50 4C 55 47 49 4E 2F 32 2E 30 0D 0A 83 4C 00 78  |PLUGIN/2.0...L.x|\n"
      "00000010  79 7A                                            |yz|\n",
      HexDump(bytes));
}

}  // namespace
