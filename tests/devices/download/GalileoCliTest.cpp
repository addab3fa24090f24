#include <filesystem>

#include <gtest/gtest.h>

#include "devices/sim/GalileoUnit.h"
#include "devices/sim/PtyInstrument.h"
#include "flight/GRecord.h"
#include "support/CliRunner.h"
#include "support/TestFiles.h"

namespace quorvanta {
namespace {

using test::quotedPath;
using test::runCli;
using Behaviour = sim::GalileoUnit::Behaviour;

// The command runs with the settings of a scratch home, so that no test
// reads the user's own.
class GalileoCliTest : public ::testing::Test {
 protected:
  GalileoCliTest() { ::setenv("XDG_CONFIG_HOME", config_.path().c_str(), 1); }
  ~GalileoCliTest() override { ::unsetenv("XDG_CONFIG_HOME"); }

  test::CliRun download(Behaviour behaviour, const std::string& extra = {}) {
    unit_ = std::make_unique<sim::GalileoUnit>(track_, behaviour);
    instrument_ = std::make_unique<sim::PtyInstrument>(*unit_);
    return runCli("download galileo --device " + instrument_->slavePath() + " --out-dir " +
                  quotedPath(out_.path()) +
                  " --class 'Paraglider sport' --site Tegelberg --compid ERMU" + extra);
  }

  test::ScratchDir config_, out_;
  const std::vector<std::string> track_ =
      sim::flightFileLines(test::realFlight("xcscore_tri.igc"));  // 15 June 2019
  std::unique_ptr<sim::GalileoUnit> unit_;
  std::unique_ptr<sim::PtyInstrument> instrument_;
};

TEST_F(GalileoCliTest, WritesTheSelectedFlightSignedAndLogsTheAnswer) {
  const std::string log = (out_.path() / "galileo.txt").string();
  const test::CliRun run = download(Behaviour::NoGRecord, " --transcript " + quotedPath(log));
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string path = (out_.path() / "96FERMU1.igc").string();
  EXPECT_EQ(run.out, path + "\n");
  EXPECT_NE(run.err.find("igc-File geschrieben (G-Record hinzugefügt) " + path), std::string::npos)
      << run.err;
  const std::string content = test::fileContent(path);
  EXPECT_EQ(verifyGRecord(content), GRecordCheck::Valid);
  EXPECT_NE(content.find("HOSITSite: Tegelberg\r\n"), std::string::npos);
  EXPECT_EQ(test::fileContent(log), unit_->trackAnswer());
}

TEST_F(GalileoCliTest, FailuresWriteNothing) {
  const struct {
    Behaviour behaviour;
    const char* message;
  } cases[] = {
      {Behaviour::Silent, "Galileo antwortet nicht!"},
      {Behaviour::NoDate, "keine Zeile „HFDTE“"},
  };
  for (const auto& c : cases) {
    const test::CliRun run = download(c.behaviour);
    EXPECT_EQ(run.status, 1) << c.message;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty());
  }
  EXPECT_TRUE(std::filesystem::is_empty(out_.path()));
}

TEST(GalileoCli, PilotAndGliderComeFromTheInstrumentNotTheOptions) {
  EXPECT_EQ(runCli("download galileo --device /dev/null --pilot 'Max Muster'").status, 2);
  EXPECT_EQ(runCli("download galileo").status, 2);
}

}  // namespace
}  // namespace quorvanta
