#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "devices/sendrakel/SendrakelDownload.h"
#include "devices/sim/SendrakelUnit.h"
#include "flight/GRecord.h"
#include "support/CliRunner.h"
#include "support/DayTime.h"
#include "support/PlausibleHeader.h"
#include "support/TestFiles.h"

namespace quorvanta {
namespace {

using ::testing::HasSubstr;
using Behaviour = sim::SendrakelUnit::Behaviour;

const std::string Flight = "flaretiming_Brad-Porter.20180104-095852.36822.34.igc";

std::vector<std::string> loggerTracks() {
  const auto path = test::realFlight(Flight);
  return {sim::sendrakelTrack(path, 300), sim::sendrakelTrack(path)};
}

class SendrakelDownloadTest : public ::testing::Test {
 protected:
  DownloadOutcome download(bool takeNames, std::optional<int> track = std::nullopt) {
    sendrakel::SendrakelDownloadRequest request;
    request.device = line.slavePath();
    request.transcriptPath = (out.path() / "SRKlog.txt").string();
    request.header = test::plausibleHeader(out.path());
    request.speedIndex = 2;
    request.track = track;
    request.takeNames = takeNames;
    request.now = [] { return test::at(2026, 7, 14, 12, 0, 0); };
    return sendrakel::downloadSendrakelFlight(request, [this](std::string_view l) { report += l; });
  }

  test::ScratchDir out;
  sim::SendrakelUnit unit{loggerTracks()};
  sim::PtyInstrument& line = unit.plugIn();
  std::string report;
};

TEST_F(SendrakelDownloadTest, LastTrackWithTheLoggersSignatureThenOneSignedByUs) {
  const DownloadOutcome kept = download(true);
  ASSERT_FALSE(kept.error) << *kept.error;
  const std::string keptText = test::fileContent(kept.path);
  EXPECT_TRUE(keptText.ends_with("GSRK8796B4D2E1F0C3A5\r\n"));
  EXPECT_THAT(keptText, HasSubstr("HFPLTPILOT: Logger Pilot"));
  EXPECT_THAT(report, HasSubstr("Track 2 03.01.2018"));
  EXPECT_THAT(unit.sentences(), ::testing::ElementsAre("$PSRK,STA", "$PSRK,IGC,2"));
  EXPECT_THAT(test::fileContent(out.path() / "SRKlog.txt"), HasSubstr("GSRK8796B4D2E1F0C3A5"));

  const DownloadOutcome own = download(false, 1);
  ASSERT_FALSE(own.error) << *own.error;
  EXPECT_NE(own.path, kept.path);
  const std::string ownText = test::fileContent(own.path);
  EXPECT_EQ(verifyGRecord(ownText), GRecordCheck::Valid);
  EXPECT_THAT(ownText, Not(HasSubstr("GSRK")));
  EXPECT_EQ(std::count(ownText.begin(), ownText.end(), '\n'), 300 + 13);
}

TEST_F(SendrakelDownloadTest, FaultyLoggerGivesItsMessageAndNoFile) {
  struct Case {
    Behaviour behaviour;
    const char* message;
  };
  for (const Case& c : {Case{Behaviour::Silent, "antwortet nicht"},
                        Case{Behaviour::Vanish, "abgebrochen"}}) {
    unit.setBehaviour(c.behaviour);
    const DownloadOutcome outcome = download(true);
    ASSERT_TRUE(outcome.error);
    EXPECT_THAT(*outcome.error, HasSubstr(c.message));
  }
  EXPECT_TRUE(std::filesystem::is_empty(out.path()) ||
              std::distance(std::filesystem::directory_iterator(out.path()), {}) == 1);
}

TEST(SendrakelPauseTest, PauseMidAnswerDiscardsTheTransfer) {
  sim::SendrakelUnit unit{loggerTracks()};
  sim::PtyInstrument& line = unit.plugIn({0, 300 + 2000, std::chrono::milliseconds(400)});
  test::ScratchDir out;
  sendrakel::SendrakelDownloadRequest request;
  request.device = line.slavePath();
  request.header = test::plausibleHeader(out.path());
  request.now = [] { return test::at(2026, 7, 14, 12, 0, 0); };
  const DownloadOutcome outcome = sendrakel::downloadSendrakelFlight(request, [](std::string_view) {});
  ASSERT_TRUE(outcome.error);
  EXPECT_THAT(*outcome.error, HasSubstr("unterbrochen"));
  EXPECT_TRUE(std::filesystem::is_empty(out.path()));
}

TEST(SendrakelCliTest, WritesTheChosenTrackAndPrintsItsPathLast) {
  sim::SendrakelUnit unit{loggerTracks()};
  sim::PtyInstrument& line = unit.plugIn();
  test::ScratchDir config, out;
  ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
  const test::CliRun run = test::runCli(
      "download sendrakel --device " + line.slavePath() + " --track 1 --speed 4 --names own" +
      " --out-dir " + test::quotedPath(out.path()) +
      " --pilot 'Erika Mustermann' --glider-type 'Nova Mentor 7' --glider-id 12345"
      " --class 'Paraglider sport' --site Tegelberg --compid ERMU");
  ::unsetenv("XDG_CONFIG_HOME");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_THAT(run.out, HasSubstr((out.path() / "813ERMU1.igc").string()));
  EXPECT_EQ(verifyGRecord(test::fileContent(out.path() / "813ERMU1.igc")), GRecordCheck::Valid);
  EXPECT_EQ(unit.sentences().back(), "$PSRK,IGC,4");
}

}  // namespace
}  // namespace quorvanta
