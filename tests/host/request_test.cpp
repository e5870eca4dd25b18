// The "PLUGIN/2.0" requests through the exported request function, answers byte for byte.
#include "host/request.h"

#include <gtest/gtest.h>

#include "closer/switch.h"
#include "host/module_fixture.h"
#include "protocol/protocol.h"

#ifndef _WIN32
#include "standin.h"
#endif

namespace {

class RequestTest : public ModuleTest {
 protected:
  std::string Served(const std::string& text) { return Ask(request, text).bytes; }
  std::string Chosen(const std::string& choice) { return Choose(request, choice).bytes; }
};

TEST_F(RequestTest, AnswersCarryTheirTerminatorInTheReportedLength) {
  EXPECT_TRUE(Answered(AskId(request, "version"), answer::kVersion, 61));
  EXPECT_TRUE(Answered(AskId(request, "OnBoot"), answer::kNoContent, 50));
  EXPECT_TRUE(Answered(Choose(request, "cancel"), answer::kCancelled, 70));
}

TEST_F(RequestTest, MenuOffersTheOppositeOfTheCurrentState) {
  Load(dir.path());
  EXPECT_TRUE(Answered(AskId(request, "OnMenuExec"), answer::Menu(false), 303));
  SetEnabled(1, 0);
  EXPECT_TRUE(Answered(AskId(request, "OnMenuExec"), answer::Menu(true), 305));
}

TEST_F(RequestTest, ChoicesSwitchTheCloserAndItsMarker) {
  Load(dir.path());
  EXPECT_TRUE(Answered(Choose(request, "on"), answer::kNowEnabled, 72));
  EXPECT_TRUE(Enabled());
  EXPECT_EQ("Enabled", ReadFileBytes(Marker()));

  EXPECT_EQ(Sent(answer::kCancelled), Chosen("cancel"));
  EXPECT_TRUE(Enabled());

  EXPECT_TRUE(Answered(Choose(request, "off"), answer::kNowDisabled, 72));
  EXPECT_FALSE(Enabled());
  EXPECT_FALSE(FileExists(Marker()));

  EXPECT_EQ(Sent(answer::kCancelled), Chosen("cancel"));
  EXPECT_FALSE(Enabled());
  EXPECT_FALSE(FileExists(Marker()));

  // Only the first letters count: "onwards" is "on".
  EXPECT_EQ(Sent(answer::kNowEnabled), Chosen("onwards"));
  EXPECT_TRUE(Enabled());
  EXPECT_TRUE(FileExists(Marker()));
}

TEST_F(RequestTest, ChoiceAnswersEvenWhenTheStateDoesNotChange) {
  Load(dir.path());
  SetEnabled(1, 0);  // on, without a marker
  EXPECT_EQ(Sent(answer::kNowEnabled), Chosen("on"));
  EXPECT_FALSE(FileExists(Marker()));  // the switch did nothing

  SetEnabled(0, 0);
  dir.Write("config.dat", "kept");
  EXPECT_EQ(Sent(answer::kNowDisabled), Chosen("off"));
  EXPECT_EQ("kept", ReadFileBytes(Marker()));
}

TEST_F(RequestTest, IdentifiersAndChoicesAreFoundAsTheHostWritesThem) {
  Load(dir.path());
  for (const Exchange& exchange : IdentifierExchanges()) {
    EXPECT_EQ(exchange.answer, Served(exchange.request)) << exchange.what;
    EXPECT_FALSE(Enabled()) << exchange.what;
  }
  EXPECT_FALSE(FileExists(Marker()));
  // The spaces after "Reference0:" are optional too.
  EXPECT_EQ(Sent(answer::kNowEnabled), Served("ID: OnChoiceSelect\r\nReference0:on\r\n\r\n"));
  EXPECT_TRUE(Enabled());
}

TEST_F(RequestTest, LengthsThatDoNotFitTheBlockAreBounded) {
  const std::string text = "ID: version";
  // Negative: an empty request, and the block is still freed.
  LONG length = -5;
  HGLOBAL answerBlock = request(HostBlock(text), &length);
  ASSERT_TRUE(answerBlock);
  EXPECT_EQ(50, length);
  EXPECT_EQ(answer::kNoContent, static_cast<const char*>(answerBlock));
  GlobalFree(answerBlock);

  // Longer than the block: only the block is read.
  length = 1 << 20;
  answerBlock = request(HostBlock(text), &length);
  ASSERT_TRUE(answerBlock);
  EXPECT_EQ(61, length);
  EXPECT_EQ(answer::kVersion, static_cast<const char*>(answerBlock));
  GlobalFree(answerBlock);

  // No block at all: an empty request.
  length = 11;
  answerBlock = request(NULL, &length);
  ASSERT_TRUE(answerBlock);
  EXPECT_EQ(50, length);
  GlobalFree(answerBlock);
}

TEST_F(RequestTest, WithoutALengthPointerNothingIsAnswered) {
  EXPECT_EQ(NULL, request(HostBlock("ID: version"), NULL));
}

#ifndef _WIN32
TEST_F(RequestTest, FailedAnswerAllocationKeepsTheLength) {
  HGLOBAL block = HostBlock("ID: version");
  LONG length = 11;
  standin::ArmedFailures disarm;
  standin::FailGlobalAllocs(1);
  EXPECT_EQ(NULL, request(block, &length));
  EXPECT_EQ(11, length);
}
#endif

}  // namespace
