#include "devices/sendrakel/SendrakelFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "devices/sendrakel/LoggerText.h"
#include "flight/ApplicationTitle.h"
#include "flight/GRecord.h"
#include "flight/TextLines.h"
#include "support/DayTime.h"
#include "support/PlausibleHeader.h"
#include "support/TestFiles.h"

namespace quorvanta::sendrakel {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

LoggerLines linesOf(const std::string& text) {
  LoggerLines lines;
  for (const std::string& line : crLines(text)) lines.add(line);
  return lines;
}

class SendrakelFileTest : public ::testing::Test {
 protected:
  SendrakelFileTest() : header(test::plausibleHeader(dir.path())) {}

  // Two tracks; the second is written.
  LoggerFileText second(bool takeNames) {
    tracks = loggerTracks(lines);
    return loggerFileText(lines, tracks.at(1), takeNames, header, WrittenAt);
  }

  static constexpr double WrittenAt = 37900.5;  // Monday 6 October 2003, 12:00
  test::ScratchDir dir;
  IgcHeaderValues header;
  LoggerLines lines = linesOf(test::loggerTrack(3) + test::loggerTrack(4, "160703"));
  std::vector<LoggerTrack> tracks;
};

TEST_F(SendrakelFileTest, TakenNamesKeepTheLoggersHeaderAndGRecord) {
  const LoggerFileText file = second(true);
  EXPECT_TRUE(file.loggerSigned);
  EXPECT_THAT(crLines(file.text),
              ElementsAre("ASRK001 SENDRAKEL", "HFDTE160703", "HFPLTPILOT: Logger Pilot",
                          "HFGTYGLIDERTYPE: Logger Glider", "HFGIDGLIDERID: D-1234",
                          "HFDTM100GPSDATUM: WGS-84",
                          "HOCIDCOMPETITIONID: " + header.competitionId,
                          "HOCCLCOMPETITION CLASS: " + header.competitionClass,
                          "HOSITSite: " + header.site, "I013638FXA",
                          "B1000004730000N01130000EA0100001000", "B1000014730001N01130001EA0100101001",
                          "B1000024730002N01130002EA0100201002", "B1000034730003N01130003EA0100301003",
                          std::string("L   ") + std::string(ApplicationTitle), "L   Montag 06.10.2003  12:00:00",
                          "GSRK0123456789ABCDEF", "GSRKFEDCBA9876543210"));
}

TEST_F(SendrakelFileTest, OwnNamesReplaceTheLoggersAndTheFileIsOursToSign) {
  const LoggerFileText file = second(false);
  EXPECT_FALSE(file.loggerSigned);
  const std::vector<std::string> lines = crLines(file.text);
  EXPECT_THAT(lines, Not(Contains(HasSubstr("Logger Pilot"))));
  EXPECT_THAT(lines, Not(Contains(HasSubstr("GSRK"))));
  EXPECT_THAT(lines, Not(Contains(HasSubstr("SendTrk"))));
  EXPECT_THAT(lines, Contains("HOPLTPILOT: " + header.pilot));
  EXPECT_THAT(lines, Contains("HOGIDGLIDERID: " + header.gliderId));
  EXPECT_THAT(lines, Not(Contains(HasSubstr("HODTM"))));  // the logger's datum line stays
  EXPECT_EQ(lines.back(), "L   Montag 06.10.2003  12:00:00");
}

TEST_F(SendrakelFileTest, WrittenFilesAreNamedAfterTheTrackAndSignedOnlyWithoutTheLoggersG) {
  tracks = loggerTracks(lines);
  const DownloadOutcome kept = writeLoggerFile(lines, tracks[1], true, header, WrittenAt);
  ASSERT_FALSE(kept.error) << *kept.error;
  EXPECT_EQ(kept.path, (dir.path() / ("37G" + header.pilotId + "1.igc")).string());
  EXPECT_EQ(kept.status, "igc-File geschrieben (signiert) " + kept.path);
  const std::string keptText = test::fileContent(kept.path);
  EXPECT_EQ(keptText, second(true).text);  // the logger's signature is not ours to check
  EXPECT_EQ(verifyGRecord(keptText), GRecordCheck::Invalid);

  const DownloadOutcome own = writeLoggerFile(lines, tracks[1], false, header, WrittenAt);
  ASSERT_FALSE(own.error) << *own.error;
  EXPECT_EQ(own.path, (dir.path() / ("37G" + header.pilotId + "2.igc")).string());
  EXPECT_EQ(verifyGRecord(test::fileContent(own.path)), GRecordCheck::Valid);
}

TEST_F(SendrakelFileTest, TrackWithoutDateIsRefused) {
  const LoggerLines undated = linesOf("ASRK001\r\nB1000004730000N01130000EA0100001000\r\n");
  const auto found = loggerTracks(undated);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(trackItemText(1, found[0]), "Track 1  10:00:00 - 10:00:00 UTC 1 Punkte");
  const DownloadOutcome outcome = writeLoggerFile(undated, found[0], true, header, WrittenAt);
  ASSERT_TRUE(outcome.error);
  EXPECT_THAT(*outcome.error, HasSubstr("HFDTE"));
}

TEST_F(SendrakelFileTest, TableRefusesTheLineBeyondItsCapacity) {
  LoggerLines full;
  for (int k = 0; k < MaxLines; ++k) ASSERT_TRUE(full.add("L"));
  EXPECT_FALSE(full.add("one more"));
  EXPECT_EQ(full.count, MaxLines);
}

TEST(SendrakelHexDumpTest, FullPagesAsNumbersTheRestRaw) {
  std::string memory;
  for (int k = 0; k < 257; ++k) memory += static_cast<char>(k % 256);
  memory += "abc";
  const std::string text = hexDumpText(memory);
  EXPECT_TRUE(text.starts_with("\r\n\r\nSpeicherseite Nr. 0:0  \r\n1  2  3  "));
  EXPECT_THAT(text, HasSubstr("\r\n17  18  "));
  EXPECT_THAT(text, HasSubstr("\r\n241  242  243  244  245  246  247  248  249  250  251  252  253  "
                              "254  255  0  \r\n\r\nabc\r\n"));
  EXPECT_EQ(hexDumpText("xy"), "\r\n\r\nxy\r\n");
}

}  // namespace
}  // namespace quorvanta::sendrakel
