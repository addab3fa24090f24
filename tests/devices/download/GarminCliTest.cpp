#include <filesystem>

#include <gtest/gtest.h>

#include "devices/sim/GarminScriptWriter.h"
#include "devices/sim/GarminUnit.h"
#include "devices/sim/PtyInstrument.h"
#include "flight/FileContent.h"
#include "flight/GRecord.h"
#include "support/CliRunner.h"
#include "support/TestFiles.h"

namespace quorvanta {
namespace {

using test::quotedPath;
using test::runCli;

class GarminCliTest : public ::testing::Test {
 protected:
  // The command runs with the settings of a scratch home, so that no test
  // reads the user's own.
  GarminCliTest() : unit_(script()), instrument_(unit_) {
    ::setenv("XDG_CONFIG_HOME", config_.path().c_str(), 1);
  }
  ~GarminCliTest() override { ::unsetenv("XDG_CONFIG_HOME"); }

  static sim::GarminScript script() {
    sim::GarminScript script = sim::productScript(sim::TrackFormat::D301);
    const auto points = sim::flightPath(20, sim::garminTime(2026, 7, 14, 10, 30, 0));
    script.merge(sim::trackLogScript({{"Flug", points}}, sim::TrackFormat::D301));
    return script;
  }

  test::CliRun download(const std::string& arguments) {
    return runCli("download garmin --device " + instrument_.slavePath() + " " + arguments);
  }

  test::ScratchDir config_, out_;
  sim::GarminUnit unit_;
  sim::PtyInstrument instrument_;
};

constexpr const char* HeaderOptions =
    " --pilot 'Erika Mustermann' --glider-type 'Nova Mentor 7' --glider-id 12345"
    " --class 'Paraglider sport' --site Tegelberg --compid ERMU";

std::string lastLine(const std::string& text) {
  const auto end = text.find_last_not_of('\n');
  const auto start = text.rfind('\n', end);
  return text.substr(start == std::string::npos ? 0 : start + 1, end - start);
}

TEST_F(GarminCliTest, WritesTheSignedFileAndPrintsItsPathLast) {
  const test::CliRun run = download("--out-dir " + quotedPath(out_.path()) + HeaderOptions);
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string path = lastLine(run.out);
  EXPECT_EQ(path, (out_.path() / "67EERMU1.igc").string());
  std::string content;
  ASSERT_FALSE(readWholeFile(path, content));
  EXPECT_EQ(verifyGRecord(content), GRecordCheck::Valid);
  EXPECT_NE(content.find("HOPLTPILOT: Erika Mustermann\r\n"), std::string::npos);
  EXPECT_NE(run.err.find("Übertragung: 50 %"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("transfer track log complete (20 Punkte)"), std::string::npos);
  EXPECT_NE(run.err.find("igc-File geschrieben (signiert) " + path), std::string::npos);
}

TEST_F(GarminCliTest, TakesTheHeaderAndDirectoryFromTheStoredSettings) {
  std::filesystem::create_directories(config_.path() / "Quorvanta");
  config_.write("Quorvanta/Quorvanta.ini",
                "[IGC]\nPILOT=Erika Mustermann\nGLIDERTYPE=Nova Mentor 7\nGLIDERID=12345\n"
                "CLASS=Paraglider sport\nSITE=Tegelberg\nCOMPID=ERMU\nPFAD=" +
                    out_.path().string() + "/\n");
  const test::CliRun run = download("--pilot 'Max Muster'");
  ASSERT_EQ(run.status, 0) << run.err;
  std::string content;
  ASSERT_FALSE(readWholeFile((out_.path() / "67EERMU1.igc").string(), content));
  EXPECT_NE(content.find("HOPLTPILOT: Max Muster\r\n"), std::string::npos);
  EXPECT_NE(content.find("HOSITSite: Tegelberg\r\n"), std::string::npos);
}

TEST_F(GarminCliTest, RefusesAnIncompleteHeaderBeforeTouchingThePort) {
  const test::CliRun run =
      download("--out-dir " + quotedPath(out_.path()) + HeaderOptions + " --compid AB1");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("--compid: genau 4 Buchstaben"), std::string::npos) << run.err;
  EXPECT_EQ(instrument_.bytesFromHost(), 0u);
}

TEST(GarminCli, UsageErrorsExitWithTwo) {
  EXPECT_EQ(runCli("download").status, 2);
  EXPECT_EQ(runCli("download garmin").status, 2);
  EXPECT_EQ(runCli("download flytec --device /dev/null").status, 2);
  EXPECT_EQ(runCli("download garmin --device").status, 2);
  EXPECT_EQ(runCli("download garmin --device /dev/null --colour red").status, 2);
}

TEST_F(GarminCliTest, AMissingDeviceFailsWithItsName) {
  const std::string device = (out_.path() / "ttyUSB7").string();
  const test::CliRun run = runCli("download garmin --device " + device + " --out-dir " +
                                  quotedPath(out_.path()) + HeaderOptions);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find(device), std::string::npos) << run.err;
  EXPECT_TRUE(run.out.empty());
  EXPECT_TRUE(std::filesystem::is_empty(out_.path()));
}

}  // namespace
}  // namespace quorvanta
