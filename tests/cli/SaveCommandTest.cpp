#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "flight/FileContent.h"
#include "flight/GRecord.h"
#include "flight/IgcReader.h"
#include "support/CliRunner.h"
#include "support/TestFiles.h"
#include "support/TrackGenerator.h"

namespace quorvanta {
namespace {

using test::quotedPath;
using test::runCli;

// A GPS track without altitudes, one fix a second from 10:00:00, and a
// barogram of the same day whose sample k reads 1000 + k metres.
class SaveCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto fixes = test::generateTrack({.fixCount = 200, .seed = 3});
    for (auto& fix : fixes) fix.pressureAlt = fix.gpsAlt = 0;
    track = scratch.write("track.igc", test::igcFile(fixes));
    std::vector<int> alts;
    for (int k = 1; k <= 400; ++k) alts.push_back(1000 + k);
    barogram = scratch.write("baro.cmp", test::cmpFile(alts, {.intervalSeconds = 1}));
  }

  // Runs save and reads the written file back.
  std::unique_ptr<FlightRecord> saved(const std::string& options) {
    const auto run = runCli("save " + quotedPath(track) + " " + quotedPath(output) + " " + options);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "igc-File geschrieben (unsigniert): " + output + ".igc\n");
    auto record = std::make_unique<FlightRecord>();
    EXPECT_TRUE(readFlightFile(output + ".igc", *record).ok());
    return record;
  }

  test::ScratchDir scratch;
  std::string track, barogram;
  std::string output = (scratch.path() / "merged").string();
};

TEST_F(SaveCommandTest, MergesTheBarogramWithEachTimeShift) {
  // As recorded, sample k stands at 10:00:00 + k s: fix i (at i - 1 s) takes
  // sample i - 1, and the first fix is filled from the second.
  auto none = saved("--baro " + quotedPath(barogram));
  EXPECT_EQ(none->FixAlt[1], 1001);
  EXPECT_EQ(none->FixAlt[2], 1001);
  EXPECT_EQ(none->FixAlt[200], 1199);
  EXPECT_EQ(none->MaxPressureAlt, 1199);

  auto ahead = saved("--baro " + quotedPath(barogram) + " --sync +00:01:00");
  EXPECT_EQ(ahead->FixAlt[2], 1061);
  auto behind = saved("--baro " + quotedPath(barogram) + " --sync -00:00:30");
  EXPECT_EQ(behind->FixAlt[100], 1069);
  EXPECT_EQ(behind->FixAlt[1], 1001);  // filled from the first fix inside the barogram

  // Switch-off: the barogram's end (400 s) meets the last fix, which lies
  // one interval past sample 399 and is filled from the fix before.
  auto end = saved("--baro " + quotedPath(barogram) + " --sync end");
  EXPECT_EQ(end->FixAlt[200], 1399);
  EXPECT_EQ(end->FixAlt[199], 1399);
  EXPECT_EQ(end->FixAlt[198], 1398);
  auto start = saved("--baro " + quotedPath(barogram) + " --sync start");
  EXPECT_EQ(start->FixAlt[3], 1002);
}

TEST_F(SaveCommandTest, WithoutBarogramTheFlightIsCopied) {
  const auto copy = saved("");
  std::string original, written;
  ASSERT_FALSE(readWholeFile(track, original));
  ASSERT_FALSE(readWholeFile(output + ".igc", written));
  EXPECT_EQ(written, original);
  EXPECT_EQ(verifyGRecord(written), GRecordCheck::Missing);
}

TEST_F(SaveCommandTest, RefusesBadArgumentsAndBarogramsWithoutWriting) {
  const std::string io = quotedPath(track) + " " + quotedPath(output);
  EXPECT_EQ(runCli("save " + quotedPath(track)).status, 2);
  EXPECT_EQ(runCli("save " + io + " --sync start").status, 2);  // no barogram to shift
  EXPECT_EQ(runCli("save " + io + " --baro " + quotedPath(barogram) + " --sync 00:01:00").status, 2);
  EXPECT_EQ(runCli("save " + io + " --baro " + quotedPath(barogram) + " --sync +25:00:00").status, 2);
  const std::string bad = scratch.write("bad.cmp", "12a x\r\nEND\r\n");
  const auto refused = runCli("save " + io + " --baro " + quotedPath(bad));
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err, bad + ": Fehler in Zeile 1: die Höhe ist keine ganze Zahl: „12a x“\n");
  EXPECT_FALSE(std::filesystem::exists(output + ".igc"));
}

// The reader's tests cover every limit; here the message reaches the pilot.
TEST_F(SaveCommandTest, RefusesACsvPositionOutOfRange) {
  const std::string file =
      scratch.write("far.csv", "T,x,47.5,8.1,7,15,2003,10,5,6,1\r\nT,x,47.5,361,7,15,2003,10,5,7,1");
  const auto refused = runCli("save " + quotedPath(file) + " " + quotedPath(output));
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err, file + ": Fehler in Zeile 2: Wert „361“ in Feld 3 (Länge) liegt außerhalb "
                                "von -180 bis 360 Grad: „T,x,47.5,361,7,15,2003,10,5,7,1“\n");
  EXPECT_FALSE(std::filesystem::exists(output + ".igc"));
}

}  // namespace
}  // namespace quorvanta
