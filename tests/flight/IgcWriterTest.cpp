#include "flight/IgcWriter.h"

#include <filesystem>
#include <memory>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "flight/DayCount.h"
#include "flight/GRecord.h"
#include "flight/IgcReader.h"
#include "support/TestFiles.h"

namespace quorvanta {
namespace {

class IgcWriterTest : public ::testing::Test {
 protected:
  FlightRecord& load(const std::string& text) {
    const auto result = readFlightFile(scratch.write("in.igc", text), *record);
    EXPECT_TRUE(result.ok()) << result.error->message;
    return *record;
  }
  test::ScratchDir scratch;
  std::unique_ptr<FlightRecord> record = std::make_unique<FlightRecord>();
};

TEST_F(IgcWriterTest, WritesTheNewAltitudeAndKeepsEverythingFromColumn31) {
  FlightRecord& r = load(
      "AXXX\r\nHFDTE150703\r\nI023638FXA3946ENL\r\nB1005074730000N00806000EA00000013000120000123456789012\r\n"
      "LXXX remark\r\nG123456\r\n");
  r.FixAlt[1] = 123;
  EXPECT_EQ(flightFileText(r),
            "AXXX\r\nHFDTE150703\r\nI023638FXA3946ENL\r\n"
            "B1005074730000N00806000EA00123013000120000123456789012\r\nLXXX remark\r\n");  // past column 50 too
  r.FixAlt[1] = -12;
  EXPECT_NE(flightFileText(r).find("EA-001201300"), std::string::npos);
}

TEST_F(IgcWriterTest, ExtraHeaderLineFollowsTheFirstRunOfHfLines) {
  FlightRecord& r = load("AXXX\r\nHFDTE150703\r\nHFPLTPILOT:X\r\nHOSITSite\r\nHFGTYGLIDER\r\n"
                         "B1005074730000N00806000EA0123401300\r\n");
  r.ExtraHeaderLine = "HFFTYFRTYPE:Vario";
  const std::string text = flightFileText(r);
  EXPECT_NE(text.find("HFPLTPILOT:X\r\nHFFTYFRTYPE:Vario\r\nHOSITSite\r\n"), std::string::npos);
  EXPECT_EQ(r.ExtraHeaderLine, "");
  EXPECT_EQ(text.find("HFFTYFRTYPE"), text.rfind("HFFTYFRTYPE"));

  FlightRecord& last = load("AXXX\r\nHFDTE150703\r\nB1005074730000N00806000EA0123401300\r\n");
  last.ExtraHeaderLine = "HFFTYFRTYPE:Vario";
  EXPECT_EQ(flightFileText(last).find("HFFTYFRTYPE"), std::string::npos);  // only HF lines at the end
}

// Whether signed or not, the saved file becomes the flight's file; the old
// G lines are never copied.
TEST_F(IgcWriterTest, OnlyFlightsFromInstrumentsAreSigned) {
  FlightRecord& r = load("AXXX\r\nHFDTE150703\r\nB1005074730000N00806000EA0123401300\r\nG1\r\n");
  struct Case {
    bool sign;
    const char* file;
    const char* label;
    TextColour colour;
    GRecordCheck check;
  };
  for (const Case& c : {Case{false, "unsigned.igc", "igc-File geschrieben (unsigniert)", TextColour::Red,
                             GRecordCheck::Missing},
                        Case{true, "signed.igc", "igc-File geschrieben (signiert)", TextColour::Green,
                             GRecordCheck::Valid}}) {
    r.SignOnSave = c.sign;
    const std::string path = (scratch.path() / c.file).string();
    const SaveOutcome saved = saveFlight(path, r);
    ASSERT_FALSE(saved.error);
    EXPECT_EQ(saved.label.text, c.label);
    EXPECT_EQ(saved.label.colour, c.colour);
    EXPECT_EQ(r.TrackFileName, path);
    EXPECT_EQ(verifyGRecord(test::fileContent(path)), c.check);
  }
  EXPECT_EQ(igcFileName("flug"), "flug.igc");
  EXPECT_EQ(igcFileName("FLUG.IGC"), "FLUG.IGC");
}

// Saves the loaded flight and reads the file back.
class SavedFlightTest : public IgcWriterTest {
 protected:
  FlightRecord& savedAndRead() {
    const std::string name = "saved" + std::to_string(++saves) + ".igc";
    const std::string path = (scratch.path() / name).string();
    const SaveOutcome saved = saveFlight(path, *record);
    EXPECT_FALSE(saved.error) << *saved.error;
    written = test::fileContent(path);
    const auto result = readFlightFile(path, *again);
    EXPECT_TRUE(result.ok()) << result.error->message;
    return *again;
  }

  void expectSameFixes() const {
    ASSERT_EQ(again->FixCount, record->FixCount);
    for (int i = 1; i <= record->FixCount; ++i) {
      EXPECT_EQ(again->FixTime[i], record->FixTime[i]) << i;
      EXPECT_EQ(again->FixLat[i], record->FixLat[i]) << i;
      EXPECT_EQ(again->FixAlt[i], record->FixAlt[i]) << i;
      for (int k = 1; k <= MaxExtensions; ++k) EXPECT_EQ(again->FixExt[k][i], record->FixExt[k][i]);
    }
    EXPECT_EQ(again->ExtCount, record->ExtCount);
  }

  std::unique_ptr<FlightRecord> again = std::make_unique<FlightRecord>();
  std::string written;
  int saves = 0;
};

constexpr const char* Fix1 = "B1005074730000N00806000EA0123401300";
constexpr const char* Fix2 = "B1005084730010N00806010EA0123501301";

// I records and date lines among and after the fixes stay where they were.
TEST_F(SavedFlightTest, LinesAmongAndAfterTheFixesStayThere) {
  const std::string text = std::string("AXXX\r\nHFDTE150703\r\n") + Fix1 +
                           "\r\nI013638ENL\r\nHFDTE160703\r\n" + Fix2 +
                           "123\r\nI023638ENL3940FXA\r\nHFDTE000000\r\n";
  load(text);
  savedAndRead();
  EXPECT_EQ(written, text);
  expectSameFixes();
  EXPECT_EQ(again->FixExt[1][2], 123);
  EXPECT_EQ(again->ExtCode[2], "FXA");
  EXPECT_EQ(shortDateText(again->FixTime[1]), "15.07.2003");
  EXPECT_EQ(shortDateText(again->FixTime[2]), "16.07.2003");
}

// 20 header lines fill the record; the date line and the I record after them
// are read but not kept.
std::string longHeader() {
  std::string text = "AXXX\r\n";
  for (int k = 1; k <= 19; ++k) text += "HOXXXREMARK " + std::to_string(k) + "\r\n";
  return text;
}

TEST_F(SavedFlightTest, DateLineBeyondTheHeaderCapacityIsWrittenAgain) {
  load(longHeader() + "HFDTE150703\r\nI013638ENL\r\n" + Fix1 + "042\r\n");
  ASSERT_EQ(record->DroppedHeaderLineCount, 2);
  savedAndRead();
  expectSameFixes();
  EXPECT_EQ(again->FixExt[1][1], 42);
  EXPECT_EQ(again->HeaderLineCount, 20);
  EXPECT_EQ(again->DroppedHeaderLineCount, 2);
  EXPECT_NE(written.find("I013638ENL\r\nHFDTE150703\r\nB"), std::string::npos);
}

TEST_F(SavedFlightTest, FixesNoIRecordDescribesAreRefused) {
  load(longHeader() + "HFDTE150703\r\nI013638ENL\r\n" + Fix1 + "042\r\nI014042ABC\r\n" +
       Fix2 + "0000017\r\n");
  const std::string path = (scratch.path() / "refused.igc").string();
  const SaveOutcome refused = saveFlight(path, *record);
  EXPECT_EQ(refused.error.value_or(""),
            "Der Flug lässt sich nicht unverändert als IGC-Datei speichern: Trackpunkt 1 passt "
            "zu keinem I-Datensatz.");
  EXPECT_FALSE(std::filesystem::exists(path));
}

// A track across midnight with an altitude changed and the sensor line added,
// as a barogram merge leaves it: read back and saved again, the same file.
TEST_F(SavedFlightTest, CsvTrackIsWrittenAsRealBRecordsAndKeepsItsDatesWhenSavedTwice) {
  const std::string csv =
      "T,x,47.51234,-8.1,7,15,2003,23,59,58,1234\n"
      "T,x,47.52,-8.2,7,16,2003,0,0,3,1240\n"
      "T,x,-12.5,179.75,7,16,2003,0,0,9,15\n";
  ASSERT_TRUE(readFlightFile(scratch.write("track.csv", csv), *record).ok());
  const auto csvTimes = record->FixTime;
  record->FixAlt[2] = 777;
  record->ExtraHeaderLine = "HFPRSPRESSUREALTSENSOR: Flytec 40XX, S/N 1234";
  savedAndRead();
  const std::string first = written;
  EXPECT_EQ(first,
            "AXXXCSV Quorvanta\r\nHFDTE150703\r\n"
            "HFPRSPRESSUREALTSENSOR: Flytec 40XX, S/N 1234\r\n"
            "B2359584730740N00806000WA0123400000\r\nHFDTE160703\r\n"
            "B0000034731200N00812000WA0077700000\r\n"
            "B0000091230000S17945000EA0001500000\r\n");
  std::swap(record, again);
  savedAndRead();
  EXPECT_EQ(written, first);
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(again->FixTime[i], csvTimes[i]) << i;
}

TEST_F(SavedFlightTest, CsvTimeFallingBackOnTheSameDayKeepsItsDate) {
  const std::string csv =
      "T,x,47.5,8.1,7,15,2003,23,0,0,1234\n"
      "T,x,47.52,8.2,7,15,2003,1,0,0,-12\n";
  ASSERT_TRUE(readFlightFile(scratch.write("track.csv", csv), *record).ok());
  savedAndRead();
  expectSameFixes();
  EXPECT_NE(written.find("B230000"), std::string::npos);
  EXPECT_NE(written.find("HFDTE150703\r\nB010000"), std::string::npos);
}

TEST_F(SavedFlightTest, CsvDatesOutsideTheIgcCenturyAreRefused) {
  ASSERT_TRUE(readFlightFile(scratch.write("old.csv", "T,x,47.5,8.1,7,15,1999,12,0,0,800\n"),
                             *record)
                  .ok());
  const SaveOutcome refused = saveFlight((scratch.path() / "old.igc").string(), *record);
  EXPECT_THAT(refused.error.value_or(""), ::testing::HasSubstr("das Jahr 1999"));
}

TEST_F(IgcWriterTest, FailedSaveKeepsTheExtraHeaderLineAndTheOldName) {
  FlightRecord& r = load("AXXX\r\nHFDTE150703\r\nHOSITSite\r\nB1005074730000N00806000EA0123401300\r\n");
  r.ExtraHeaderLine = "HFPRSPRESSUREALTSENSOR: Flytec 40XX, S/N 1";
  const std::string before = r.TrackFileName;
  const SaveOutcome failed = saveFlight((scratch.path() / "no" / "x.igc").string(), r);
  EXPECT_THAT(failed.error.value_or(""), ::testing::HasSubstr("Verzeichnis nicht gefunden"));
  EXPECT_EQ(r.ExtraHeaderLine, "HFPRSPRESSUREALTSENSOR: Flytec 40XX, S/N 1");
  EXPECT_EQ(r.TrackFileName, before);
}

}  // namespace
}  // namespace quorvanta
