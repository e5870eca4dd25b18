// The "PLUGIN/2.0" requests through the exported request function, answers byte for byte.
#include "host/request.h"

#include <gtest/gtest.h>

#include "closer/switch.h"
#include "harness/protocol/protocol.h"
#include "unit/host/module_fixture.h"

#ifndef _WIN32
#include "standin.h"
#endif

namespace {

class RequestTest : public ModuleTest {
 protected:
  std::string Served(const std::string& text) { return Ask(request, text).bytes; }
  std::string Chosen(const std::string& choice) { return Choose(request, choice).bytes; }
};

// "on" and "off" themselves are the export tests' (they answer as the built DLL does).
TEST_F(RequestTest, ChoicesAreReadAsTheBalloonWritesThem) {
  Load(dir.path());
  EXPECT_EQ(Sent(answer::kCancelled), Chosen("cancel"));
  EXPECT_FALSE(Enabled());
  // The spaces after "Reference0:" are optional.
  EXPECT_EQ(Sent(answer::kNowEnabled), Served("ID: OnChoiceSelect\r\nReference0:on\r\n\r\n"));
  EXPECT_TRUE(Enabled());
  EXPECT_EQ(Sent(answer::kCancelled), Chosen("cancel"));
  EXPECT_TRUE(Enabled());
  EXPECT_TRUE(FileExists(Marker()));
  Chosen("off");

  // Only the first letters count: "onwards" is "on".
  EXPECT_EQ(Sent(answer::kNowEnabled), Chosen("onwards"));
  EXPECT_TRUE(Enabled());
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
