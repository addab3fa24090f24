#include "devices/galileo/GalileoFile.h"

#include <filesystem>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "flight/DayCount.h"
#include "flight/GRecord.h"
#include "support/PlausibleHeader.h"
#include "support/TestFiles.h"

namespace quorvanta::galileo {
namespace {

using ::testing::HasSubstr;

const std::vector<std::string> Track = {
    "AXBRGalileo",
    "HFDTE080703",
    "hfpltpilot:Hans Lange",
    "I013638FXA",
    "B1101355206343N00006198WA0058700558",
    "LXBR remark",
    "B1101455206300N00006100WA0059000560",
    "GBRAEUNIGER0123",
    "G4567",
};

class GalileoFileTest : public ::testing::Test {
 protected:
  GalileoFileTest() : header(test::plausibleHeader(scratch.path())) { header.pilotId = "ABCD"; }

  test::ScratchDir scratch;
  IgcHeaderValues header;
  const double writtenAt = *encodeDate(2003, 8, 10) + *encodeTime(18, 5, 9);
};

TEST_F(GalileoFileTest, FileKeepsTheInstrumentsLinesAndAddsHeaderAndProgramLines) {
  EXPECT_EQ(trackFileText(Track, header, writtenAt),
            "AXBRGalileo\r\nHFDTE080703\r\nhfpltpilot:Hans Lange\r\n"
            "HOCIDCOMPETITIONID: DHV-OLC-2003\r\n"
            "HOCCLCOMPETITION CLASS: Flexible Wing (FAI class 1)\r\n"
            "HOSITSite: Wasserkuppe\r\n"
            "I013638FXA\r\nB1101355206343N00006198WA0058700558\r\nLXBR remark\r\n"
            "B1101455206300N00006100WA0059000560\r\n"
            "L   Quorvanta   Vers. 3.2\r\nL   Sonntag 10.08.2003  18:05:09\r\n"
            "GBRAEUNIGER0123\r\nG4567\r\n");
}

// Named year, month, day: 8 July 2003 is "378".
TEST_F(GalileoFileTest, FlightsOfOneDayAreNumberedAndTheInstrumentsGRecordIsKept) {
  const DownloadOutcome first = writeTrackFile(Track, header, writtenAt);
  ASSERT_FALSE(first.error) << *first.error;
  EXPECT_EQ(first.path, (scratch.path() / "378ABCD1.igc").string());
  EXPECT_EQ(first.status, "igc-File geschrieben (G-Record bereits vorhanden) " + first.path);
  const std::string content = test::fileContent(first.path);
  EXPECT_EQ(content, trackFileText(Track, header, writtenAt));  // not signed again

  const DownloadOutcome second = writeTrackFile(Track, header, writtenAt);
  EXPECT_EQ(second.path, (scratch.path() / "378ABCD2.igc").string());
}

// Fewer than eleven lines, with or without a G record of the instrument
// among them: signed exactly when the file has none.
TEST_F(GalileoFileTest, ShortAnswerIsSignedWhenItHasNoGRecord) {
  const std::vector<std::string> unsigned_ = {"AXBR", "HFDTEDATE:070803,01",
                                             "B1101355206343N00006198WA0058700558"};
  const DownloadOutcome signedFile = writeTrackFile(unsigned_, header, writtenAt);
  ASSERT_FALSE(signedFile.error);
  EXPECT_EQ(signedFile.path, (scratch.path() / "387ABCD1.igc").string());  // 7 August 2003
  EXPECT_EQ(signedFile.status, "igc-File geschrieben (G-Record hinzugefügt) " + signedFile.path);
  EXPECT_EQ(verifyGRecord(test::fileContent(signedFile.path)), GRecordCheck::Valid);

  std::vector<std::string> withG = unsigned_;
  withG.push_back("GBR12");
  const DownloadOutcome kept = writeTrackFile(withG, header, writtenAt);
  EXPECT_EQ(kept.path, (scratch.path() / "387ABCD2.igc").string());
  EXPECT_THAT(kept.status, HasSubstr("(G-Record bereits vorhanden)"));
  EXPECT_TRUE(test::fileContent(kept.path).ends_with("GBR12\r\n"));
}

TEST_F(GalileoFileTest, TrackWithoutAUsableDateIsRefusedAndNothingWritten) {
  const std::vector<std::vector<std::string>> refused = {
      {},
      {"AXBR", "B1101355206343N00006198WA0058700558"},
      {"AXBR", "HFDTE310203", "B1101355206343N00006198WA0058700558"},
      {"AXBR", "HFDTE07", "B1101355206343N00006198WA0058700558"},
      std::vector<std::string>(MaxLines + 1, "HFDTE070803"),
  };
  for (const auto& lines : refused) {
    const DownloadOutcome outcome = writeTrackFile(lines, header, writtenAt);
    ASSERT_TRUE(outcome.error) << lines.size();
    EXPECT_EQ(trackRefusal(lines), outcome.error);
  }
  EXPECT_THAT(*trackRefusal({"AXBR"}), HasSubstr("keine Zeile „HFDTE“"));
  EXPECT_THAT(*trackRefusal({"HFDTE310203"}), HasSubstr("kein gültiges Datum"));
  EXPECT_TRUE(std::filesystem::is_empty(scratch.path()));
}

}  // namespace
}  // namespace quorvanta::galileo
