#include <filesystem>
#include <sstream>

#include <gtest/gtest.h>

#include "devices/sim/PmlrUnit.h"
#include "devices/sim/PtyInstrument.h"
#include "flight/GRecord.h"
#include "support/CliRunner.h"
#include "support/TestFiles.h"

namespace quorvanta {
namespace {

using test::quotedPath;
using test::runCli;
using Model = sim::PmlrUnit::Model;

const char* const Flight = "xcscore_line.igc";  // 8528 points from 13:29:35 on 1 November 2017

const char* cliName(Model model) {
  return model == Model::Renschler ? "renschler" : model == Model::LogIt ? "logit" : "mlr";
}

// The B records the download must write for the flight's fixes: time and
// position as recorded, no pressure altitude, the GPS altitude.
std::vector<std::string> expectedFixes(const char* from = "", const char* to = "999999") {
  std::vector<std::string> fixes;
  std::istringstream lines(test::fileContent(test::realFlight(Flight)));
  for (std::string line; std::getline(lines, line);) {
    const std::string time = line.substr(1, 6);
    if (line.starts_with('B') && time > from && time <= to) {
      std::string fix = line.substr(0, 24);
      fix += "A00000";
      fix += line.substr(30, 5);
      fixes.push_back(fix);
    }
  }
  return fixes;
}

std::vector<std::string> writtenFixes(const std::string& content) {
  std::vector<std::string> fixes;
  std::istringstream lines(content);
  for (std::string line; std::getline(lines, line);) {
    if (line.ends_with('\r')) line.pop_back();
    if (line.starts_with('B')) fixes.push_back(line);
  }
  return fixes;
}

// The command runs with the settings of a scratch home, so that no test
// reads the user's own.
class PmlrCliTest : public ::testing::Test {
 protected:
  PmlrCliTest() { ::setenv("XDG_CONFIG_HOME", config_.path().c_str(), 1); }
  ~PmlrCliTest() override { ::unsetenv("XDG_CONFIG_HOME"); }

  test::CliRun download(Model model, sim::PmlrFaults faults, const std::string& extra = {},
                        std::size_t points = 0) {
    instrument_.reset();
    unit_ = std::make_unique<sim::PmlrUnit>(
        model, sim::pmlrFlightPoints(test::realFlight(Flight), points), std::move(faults));
    instrument_ = std::make_unique<sim::PtyInstrument>(*unit_);
    return runCli(std::string("download ") + cliName(model) + " --device " + instrument_->slavePath() +
                  " --out-dir " + quotedPath(out_.path()) +
                  " --pilot 'Max Muster' --glider-type 'Nova Mentor' --glider-id D-1234"
                  " --competition-id 'Comp 1' --class Paraglider --site Tegelberg --compid ERMU" +
                  extra);
  }

  test::ScratchDir config_, out_;
  std::unique_ptr<sim::PmlrUnit> unit_;
  std::unique_ptr<sim::PtyInstrument> instrument_;
};

sim::PmlrFaults spoiled(std::set<int> damaged, std::set<int> dropped = {}, int transfers = 1) {
  sim::PmlrFaults faults;
  faults.damaged = std::move(damaged);
  faults.dropped = std::move(dropped);
  faults.faultyTransfers = transfers;
  return faults;
}

// 344 records: the sequence numbers wrap, and records cut by a CR LF in
// their data are joined. A Log_it! asks again for what it missed by itself,
// the others are asked again as the pilot would; the Renschler's damaged end
// record still ends the track.
TEST_F(PmlrCliTest, EachInstrumentsTrackIsWrittenSignedWithEveryFix) {
  const struct {
    Model model;
    sim::PmlrFaults faults;
    const char* speed;
    const char* aRecord;
    int requests, bitsPerSecond;
  } cases[] = {
      {Model::Mlr, {}, " --speed 38400", "AMLR MLR SP24 XC 0815", 1, 38400},
      {Model::Mlr, spoiled({3, 300}), "", "AMLR MLR SP24 XC 0815", 2, 19200},
      {Model::LogIt, spoiled({5}, {30, 257}), " --speed 57600", "ARUA LOG_IT 2.1 SN 4711", 2, 57600},
      {Model::Renschler, spoiled({344}, {}, 99), "", "AREN SOL 1234 5678", 1, 19200},
  };
  const std::vector<std::string> fixes = expectedFixes();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.aRecord);
    const std::string path = (out_.path() / "7B1ERMU1.igc").string();
    const test::CliRun run = download(c.model, c.faults, c.speed);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, path + "\n");
    EXPECT_NE(run.err.find("igc-File geschrieben (signiert) " + path), std::string::npos) << run.err;
    const std::string content = test::fileContent(path);
    EXPECT_EQ(verifyGRecord(content), GRecordCheck::Valid);
    EXPECT_TRUE(content.starts_with(std::string(c.aRecord) + "\r\nHFDTE011117\r\n"));
    EXPECT_EQ(writtenFixes(content), fixes);
    EXPECT_EQ(unit_->trackRequests(), c.requests);
    EXPECT_EQ(unit_->lastRequestedSpeed(), c.bitsPerSecond);
    std::filesystem::remove(path);
  }
}

TEST_F(PmlrCliTest, TheTimeWindowKeepsThePointsAfterItsStartUpToItsEnd) {
  const test::CliRun run =
      download(Model::LogIt, {}, " --from 14:00:00 --to 14:30:00 --date 2017-11-01");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(writtenFixes(test::fileContent(out_.path() / "7B1ERMU1.igc")),
            expectedFixes("140000", "143000"));
  EXPECT_EQ(download(Model::LogIt, {}, " --date 2017-11-02").status, 1);  // no point that day
}

TEST_F(PmlrCliTest, FailuresWriteNothing) {
  sim::PmlrFaults silent, vanishing;
  silent.silent = true;
  vanishing.unplugAfterBytes = 2000;
  const struct {
    Model model;
    sim::PmlrFaults faults;
    const char* extra;
    const char* message;
  } cases[] = {
      {Model::Mlr, silent, "", "MLR bzw. Log_it! antwortet nicht!!!"},
      {Model::LogIt, vanishing, "", "ist abgebrochen"},
      // The end record (12) damaged on every transfer
      {Model::Mlr, spoiled({12}, {}, 99), "", "Es ist Übertragungsfehler aufgetreten."},
      {Model::Mlr, {}, " --speed 57600", "nicht mit 57600 Baud, nur mit 19200, 38400 Baud"},
  };
  for (const auto& c : cases) {
    // 250 points in 12 records: the MLR that spoils every transfer is asked five times.
    const test::CliRun run = download(c.model, c.faults, c.extra, 250);
    EXPECT_EQ(run.status, 1) << c.message;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty());
  }
  EXPECT_TRUE(std::filesystem::is_empty(out_.path()));
}

TEST(PmlrCli, UsageErrorsExitWithTwo) {
  for (const char* arguments : {
           "download mlr",
           "download logit --device /dev/null --speed 9600",
           "download renschler --device /dev/null --speed 57600",
           "download mlr --device /dev/null --from 12:00:00",
           "download mlr --device /dev/null --from 12:00 --date 2017-11-01",
           "download mlr --device /dev/null --date 2017-13-01",
           "download renschler --device /dev/null --track 1",
       }) {
    EXPECT_EQ(runCli(arguments).status, 2) << arguments;
  }
}

}  // namespace
}  // namespace quorvanta
