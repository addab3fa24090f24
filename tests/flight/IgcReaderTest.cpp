#include "flight/IgcReader.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "flight/DayCount.h"
#include "flight/Geodesy.h"
#include "support/TestFiles.h"
#include "support/TrackGenerator.h"

namespace quorvanta {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

class IgcReaderTest : public ::testing::Test {
 protected:
  ReadResult read(const std::string& name, const std::string& content,
                  const ReadOptions& options = {}) {
    return readFlightFile(scratch.write(name, content), *record, options);
  }

  static std::string lines(const std::vector<std::string>& text) {
    std::string file;
    for (const auto& line : text) file += line + "\r\n";
    return file;
  }

  test::ScratchDir scratch;
  std::unique_ptr<FlightRecord> record = std::make_unique<FlightRecord>();
};

TEST_F(IgcReaderTest, ReadsTheColumnsOfAFix) {
  const auto result = read("a.igc", lines({"HFDTE150703", "B1005074730000N00806000EA0123401300"}));
  ASSERT_TRUE(result.ok()) << result.error->message;
  ASSERT_EQ(record->FixCount, 1);
  EXPECT_DOUBLE_EQ(record->FixLat[1], 47.5 * DegToRad);
  EXPECT_DOUBLE_EQ(record->FixLon[1], 8.1 * DegToRad);
  EXPECT_TRUE(record->FixValid[1]);
  EXPECT_EQ(isoDateTimeText(record->FixTime[1]), "2003-07-15T10:05:07");
  EXPECT_EQ(record->FixTime[1], 37817 + *encodeTime(10, 5, 7));
  EXPECT_EQ(record->FixAlt[1], 1234);
  EXPECT_EQ(record->FixGpsAlt[1], 1300);
  EXPECT_EQ(record->FixText[1], "B1005074730000N00806000EA0123401300");
  EXPECT_EQ(record->TrackFileName, scratch.path() / "a.igc");
  EXPECT_EQ(record->ViewFirst, 1);
  EXPECT_EQ(record->ViewLast, 1);
}

TEST_F(IgcReaderTest, LowerCaseSouthAndWestAreNegative) {
  ASSERT_TRUE(read("a.igc", lines({"HFDTE150703", "B1005074730000s00806000wA0123401300",
                                   "B1005084730000S00806000WV0123401300"}))
                  .ok());
  EXPECT_DOUBLE_EQ(record->FixLat[1], -47.5 * DegToRad);
  EXPECT_DOUBLE_EQ(record->FixLon[1], -8.1 * DegToRad);
  EXPECT_DOUBLE_EQ(record->FixLat[2], -47.5 * DegToRad);
  EXPECT_FALSE(record->FixValid[2]);
  EXPECT_EQ(record->InvalidFixCount, 1);
}

TEST_F(IgcReaderTest, PressureAltitudeBelowOneFallsBackToGps) {
  ASSERT_TRUE(read("a.igc", lines({"HFDTE150703", "B1005074730000N00806000EA0000001300",
                                   "B1005084730000N00806000EA0000101300",
                                   "B1005094730000N00806000EA-001001300"}))
                  .ok());
  EXPECT_EQ(record->FixAlt[1], 1300);
  EXPECT_EQ(record->FixAlt[2], 1);
  EXPECT_EQ(record->FixAlt[3], 1300);
  EXPECT_EQ(record->MaxPressureAlt, 1);
}

TEST_F(IgcReaderTest, DateLinesInBothFormsAndAnyHeaderSource) {
  ASSERT_TRUE(read("a.igc", lines({"HFDTE010199", "B1005074730000N00806000EA0123401300"})).ok());
  EXPECT_EQ(isoDateTimeText(record->FixTime[1]), "2099-01-01T10:05:07");
  ASSERT_TRUE(
      read("b.igc", lines({"HFDTEDATE:150703,01", "B1005074730000N00806000EA0123401300"})).ok());
  EXPECT_EQ(isoDateTimeText(record->FixTime[1]), "2003-07-15T10:05:07");
  ASSERT_TRUE(read("c.igc", lines({"HPDTEDATE:160703", "B1005074730000N00806000EA0123401300"})).ok());
  EXPECT_EQ(isoDateTimeText(record->FixTime[1]), "2003-07-16T10:05:07");
}

TEST_F(IgcReaderTest, PilotLineBeforeTheDateLineTakesThatDate) {
  const auto result = read("a.igc", lines({"HFPLTPILOT:Hans Muster", "HFDTE050703",
                                           "HFPLTPILOT:Eva Muster", "HFDTE060703",
                                           "B1005074730000N00806000EA0123401300"}));
  ASSERT_TRUE(result.ok());
  EXPECT_THAT(result.flightTitles, ::testing::ElementsAre("PILOT:Hans Muster   am 5.7.2003",
                                                          "PILOT:Eva Muster   am 5.7.2003"));
  EXPECT_EQ(record->FlightTitle, "PILOT:Eva Muster   am 5.7.2003");
}

// The record keeps 20 header lines; a pilot line after them would not be
// saved with the flight, so it does not name it either.
TEST_F(IgcReaderTest, PilotLineBeyondTheHeaderCapacityNamesNoFlight) {
  std::vector<std::string> text{"AXXX", "HFDTE150703", "HFPLTPILOT:Hans Muster"};
  for (int k = 1; k <= 17; ++k) text.push_back("HOSITSite " + std::to_string(k));
  text.push_back("B1005074730000N00806000EA0123401300");
  text.push_back("HFPLTPILOT:Eva Muster");
  text.push_back("B1005174730000N00806000EA0123401300");
  const auto result = read("a.igc", lines(text));
  ASSERT_TRUE(result.ok()) << result.error->message;
  EXPECT_EQ(record->DroppedHeaderLineCount, 1);
  EXPECT_THAT(result.flightTitles, ::testing::ElementsAre("PILOT:Hans Muster   am 15.7.2003"));
  EXPECT_EQ(record->FlightTitle, "PILOT:Hans Muster   am 15.7.2003");
}

TEST_F(IgcReaderTest, KeepsThreeOfFiveExtensions) {
  const auto result = read(
      "a.igc", lines({"HFDTE150703", "I053638FXA3941SIU4242TAS4346ENL4750ACZ",
                      "B1005074730000N00806000EA01234013000120512007001234"}));
  ASSERT_TRUE(result.ok()) << result.error->message;
  ASSERT_EQ(record->ExtCount, 3);
  EXPECT_EQ(record->ExtCode[1], "FXA");
  EXPECT_EQ(record->ExtStart[2], 39);
  EXPECT_EQ(record->ExtLen[2], 3);
  EXPECT_EQ(record->ExtCode[3], "TAS");
  EXPECT_EQ(record->ExtLen[3], 1);
  EXPECT_EQ(record->FixExt[1][1], 12);
  EXPECT_EQ(record->FixExt[2][1], 51);
  EXPECT_EQ(record->FixExt[3][1], 2);
}

TEST_F(IgcReaderTest, KeepsTwentyHeaderAndOtherLinesAndCountsTheRest) {
  std::vector<std::string> text{"HFDTE150703"};
  for (int i = 0; i < 24; ++i) text.push_back("HFXXX" + std::to_string(i));
  for (int i = 0; i < 30; ++i) text.push_back("LXXX" + std::to_string(i));
  text.push_back("B1005074730000N00806000EA0123401300");
  text.push_back("");
  ASSERT_TRUE(read("a.igc", lines(text)).ok());
  EXPECT_EQ(record->HeaderLineCount, 20);
  EXPECT_EQ(record->DroppedHeaderLineCount, 5);
  EXPECT_EQ(record->HeaderLines[20], "HFXXX18");
  EXPECT_EQ(record->OtherLineCount, 20);
  EXPECT_EQ(record->DroppedOtherLineCount, 11);  // the empty line counts as other
  EXPECT_EQ(record->OtherLines[1], "LXXX0");
}

// Passing midnight moves to the next day; a smaller step back stays on the
// same day; a new date line restarts the count.
TEST_F(IgcReaderTest, DayOfEachFix) {
  const struct {
    std::vector<std::string> text;
    std::vector<const char*> times;
  } cases[] = {
      {{"HFDTE311216", "B2359584730000N00806000EA0123401300", "B0000034730000N00806000EA0123401300",
        "B0100004730000N00806000EA0123401300"},
       {"2016-12-31T23:59:58", "2017-01-01T00:00:03", "2017-01-01T01:00:00"}},
      {{"HFDTE150703", "B0836004730000N00806000EA0123401300", "B0037004730000N00806000EA0123401300"},
       {"2003-07-15T08:36:00", "2003-07-15T00:37:00"}},
      {{"HFDTE150703", "B2300004730000N00806000EA0123401300", "HFDTE200703",
        "B0100004730000N00806000EA0123401300"},
       {"2003-07-15T23:00:00", "2003-07-20T01:00:00"}},
  };
  for (const auto& flight : cases) {
    ASSERT_TRUE(read("a.igc", lines(flight.text)).ok());
    for (std::size_t i = 0; i < flight.times.size(); ++i) {
      EXPECT_EQ(isoDateTimeText(record->FixTime[static_cast<int>(i) + 1]), flight.times[i]);
    }
  }
}

TEST_F(IgcReaderTest, MaxFixesAreKeptAndOneMoreDropsTheCloserPair) {
  auto fixes = test::generateTrack({.fixCount = MaxFixes, .seed = 11});
  ASSERT_TRUE(read("full.igc", test::igcFile(fixes)).ok());
  EXPECT_EQ(record->FixCount, MaxFixes);
  EXPECT_EQ(record->DroppedFixCount, 0);
  const std::string lastText = record->FixText[MaxFixes];

  // Fix 101 duplicates fix 100, the only pair at distance 0: fix 101 goes.
  fixes.insert(fixes.begin() + 100, fixes[99]);
  const auto result = read("over.igc", test::igcFile(fixes));
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(record->FixCount, MaxFixes);
  EXPECT_EQ(record->DroppedFixCount, 1);
  EXPECT_EQ(record->FixText[100], test::bRecord(fixes[99]));
  EXPECT_EQ(record->FixText[101], test::bRecord(fixes[101]));
  EXPECT_EQ(record->FixText[MaxFixes], lastText);
  EXPECT_EQ(result.labels[1].text, "Achtung! 1 Punkte unberücksichtigt");
  EXPECT_EQ(result.labels[1].colour, TextColour::Red);
}

TEST_F(IgcReaderTest, StatusLabelsDescribeTheLoad) {
  auto fixes = test::generateTrack({.fixCount = 100, .intervalSeconds = 4});
  fixes[10].valid = fixes[20].valid = false;
  const auto result = read("a.igc", test::igcFile(fixes));
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(result.labels[0].text, "100 Track-Punkte aus Datei gelesen");
  EXPECT_EQ(result.labels[0].colour, TextColour::Black);
  EXPECT_EQ(result.labels[1].text, "");
  EXPECT_EQ(result.labels[2].text, "mittl. Datenrate: 4.1 sec je Punkt");  // 240 s over 59 intervals
  EXPECT_EQ(result.labels[3].text, "Achtung: 2 unsichere Trackpunkte!!");
  EXPECT_EQ(result.labels[3].colour, TextColour::Red);

  ASSERT_TRUE(read("b.igc", test::igcFile(test::generateTrack({.fixCount = 41}))).ok());
  EXPECT_EQ(loadStatusLabels(*record)[2].text, "mittl. Datenrate: zu wenige Punkte");
}

TEST_F(IgcReaderTest, ProgressRisesToOneHundred) {
  std::vector<int> seen;
  ReadOptions options;
  options.progress = [&](int percent) { seen.push_back(percent); };
  ASSERT_TRUE(read("a.igc", test::igcFile(test::generateTrack({.fixCount = 500})), options).ok());
  ASSERT_FALSE(seen.empty());
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  EXPECT_EQ(seen.back(), 100);
}

TEST_F(IgcReaderTest, SourceDecidesSignOnSave) {
  const std::string file = lines({"HFDTE150703", "B1005074730000N00806000EA0123401300"});
  record->DownloadedFile = "x.igc";
  ReadOptions download;
  download.fromDownload = true;
  ASSERT_TRUE(read("a.igc", file, download).ok());
  EXPECT_TRUE(record->SignOnSave);
  EXPECT_EQ(record->DownloadedFile, "");
  ASSERT_TRUE(read("b.igc", file).ok());
  EXPECT_FALSE(record->SignOnSave);
}

TEST_F(IgcReaderTest, MalformedRecordsLeaveTheRecordAsItWas) {
  ASSERT_TRUE(read("good.igc", test::igcFile(test::generateTrack({.fixCount = 50}))).ok());
  const std::string goodText = record->FixText[50];
  const struct {
    std::vector<std::string> text;
    int line;
    const char* reason;
  } cases[] = {
      {{"HFDTE150703", "B1005074730000N00806000EA012x401300"}, 2, "Spalte 26-30 (Druckhöhe)"},
      {{"B1005074730000N00806000EA0123401300"}, 1, "vor der Datumszeile HFDTE"},
      {{"HFDTE290203", "B1005074730000N00806000EA0123401300"}, 2, "ungültiges Datum 29.2.2003"},
      {{"HFDTE150703", "B2505074730000N00806000EA0123401300"}, 2, "ungültige Uhrzeit 25:05:07"},
      {{"HFDTE150703", "B1005074730000N00806000EA01234"}, 2, "GPS-Höhe"},
      {{"HFDTEXX0703"}, 1, "Datum"},
      {{"HFDTE150703", "I013638ENL", "B1005074730000N00806000EA0123401300"}, 3, "ENL"},
      {{"HFDTE150703", "I0136"}, 2, "letzte Spalte"},
  };
  for (const auto& bad : cases) {
    const auto result = read("bad.igc", lines(bad.text));
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error->line, bad.line);
    EXPECT_THAT(result.error->message, StartsWith("Fehler in Zeile " + std::to_string(bad.line)));
    EXPECT_THAT(result.error->message, HasSubstr(bad.reason));
    EXPECT_THAT(result.error->message, HasSubstr(bad.text[static_cast<std::size_t>(bad.line - 1)]));
    EXPECT_EQ(record->FixCount, 50);
    EXPECT_EQ(record->FixText[50], goodText);
    EXPECT_EQ(record->TrackFileName, scratch.path() / "good.igc");
  }
}

// Missing files and directories are refused as every file read is.
TEST_F(IgcReaderTest, FilesOfOtherTypesOrWithoutFixesAreRejected) {
  const auto wrongType = read("flight.txt", lines({"HFDTE150703"}));
  ASSERT_FALSE(wrongType.ok());
  EXPECT_THAT(wrongType.error->message, HasSubstr("weder eine IGC-Datei"));
  const auto noFixes = read("empty.igc", lines({"HFDTE150703", "LXXX"}));
  ASSERT_FALSE(noFixes.ok());
  EXPECT_THAT(noFixes.error->message, HasSubstr("keine Trackpunkte"));
  EXPECT_EQ(record->FixCount, 0);
}

TEST_F(IgcReaderTest, CsvFixesAreValidAndKeepTheirText) {
  const std::string csv =
      "Header line\n"
      "T,x,47.5,-8.1,7,15,2003,10,5,7,1234\n"
      "N,y,47.6,-8.2,7,15,2003,10,5,8.9,1240 m\n"
      "W,ignored\n";
  const auto result = read("track.CSV", csv);
  ASSERT_TRUE(result.ok()) << result.error->message;
  ASSERT_EQ(record->FixCount, 2);
  EXPECT_DOUBLE_EQ(record->FixLat[1], 47.5 * DegToRad);
  EXPECT_DOUBLE_EQ(record->FixLon[1], -8.1 * DegToRad);
  EXPECT_TRUE(record->FixValid[1]);
  EXPECT_TRUE(record->FixValid[2]);
  EXPECT_EQ(record->InvalidFixCount, 0);
  EXPECT_EQ(isoDateTimeText(record->FixTime[2]), "2003-07-15T10:05:08");
  EXPECT_EQ(record->FixAlt[2], 1240);
  EXPECT_EQ(record->FixText[1], "x,47.5,-8.1,7,15,2003,10,5,7,1234");
  EXPECT_EQ(record->TrackFileName, "");
  EXPECT_EQ(record->HeaderLineCount, 0);
}

// Positions outside the range a B record can hold are refused too.
TEST_F(IgcReaderTest, MalformedCsvLinesAreReportedWithTheirLine) {
  const std::string good = "T,x,47.5,8.1,7,15,2003,10,5,6,1\n";
  ASSERT_TRUE(read("good.csv", good).ok());
  const struct {
    const char* text;
    const char* reason;
  } cases[] = {
      {"T,x,47.5,8;1,7,15,2003,10,5,7,1", "Feld 3 (Länge)"},
      {"T,x,47.5,8.1,7,15,2003,10,5,7", "zu wenige Felder"},
      {"T,x,47.5,8.1,2,30,2003,10,5,7,1", "ungültiges Datum 30.2.2003"},
      {"T,x,47.5,8.1,7,15,2003,10,75,7,1", "ungültige Uhrzeit"},
      {"T,,1e39,8,7,15,2003,10,5,7,1",
       "Wert „1e39“ in Feld 2 (Breite) liegt außerhalb von -90 bis 90 Grad"},
      {"T,x,100,8.1,7,15,2003,10,5,7,1", "„100“ in Feld 2 (Breite) liegt außerhalb"},
      {"T,x,-90.5,8.1,7,15,2003,10,5,7,1", "„-90.5“ in Feld 2 (Breite) liegt außerhalb"},
      {"T,x,47.5,361,7,15,2003,10,5,7,1",
       "Wert „361“ in Feld 3 (Länge) liegt außerhalb von -180 bis 360 Grad"},
      {"T,x,47.5,-180.01,7,15,2003,10,5,7,1", "„-180.01“ in Feld 3 (Länge) liegt außerhalb"},
      {"T,x,47.5,-1e39,7,15,2003,10,5,7,1", "„-1e39“ in Feld 3 (Länge) liegt außerhalb"},
      {"T,x,NaN,8.1,7,15,2003,10,5,7,1", "ungültige Zahl „NaN“ in Feld 2 (Breite)"},
      {"T,x,inf,8.1,7,15,2003,10,5,7,1", "ungültige Zahl „inf“ in Feld 2 (Breite)"},
      {"T,x,47.5,-infinity,7,15,2003,10,5,7,1", "ungültige Zahl „-infinity“ in Feld 3 (Länge)"},
      {"T,x,1e400,8.1,7,15,2003,10,5,7,1", "ungültige Zahl „1e400“ in Feld 2 (Breite)"},
  };
  for (const auto& bad : cases) {
    const auto result = read("bad.csv", good + bad.text + "\n");
    ASSERT_FALSE(result.ok()) << bad.text;
    EXPECT_EQ(result.error->line, 2);
    EXPECT_THAT(result.error->message, StartsWith("Fehler in Zeile 2: "));
    EXPECT_THAT(result.error->message, HasSubstr(bad.reason));
    EXPECT_EQ(record->FixCount, 1);  // the record keeps the flight read before
    EXPECT_EQ(record->FixText[1], good.substr(2, good.size() - 3));
  }
}

TEST_F(IgcReaderTest, CsvPositionsAtTheEdgesOfTheRangeAreRead) {
  const auto result = read("edges.csv", "T,x,90,-180,7,15,2003,10,5,6,1\n"
                                        "T,x,-90,360,7,15,2003,10,5,7,1\n");
  ASSERT_TRUE(result.ok()) << result.error->message;
  EXPECT_DOUBLE_EQ(record->FixLat[1], 90 * DegToRad);
  EXPECT_DOUBLE_EQ(record->FixLon[1], -180 * DegToRad);
  EXPECT_DOUBLE_EQ(record->FixLat[2], -90 * DegToRad);
  EXPECT_DOUBLE_EQ(record->FixLon[2], 360 * DegToRad);
}

TEST_F(IgcReaderTest, AHugeBadCsvFieldIsQuotedOnlyInPart) {
  const std::string field(10'000'000, '7');
  const auto result = read("huge.csv", "T,x,47.5," + field + "x,7,15,2003,10,5,7,1\n");
  ASSERT_FALSE(result.ok());
  const std::string& message = result.error->message;
  EXPECT_LT(message.size(), 400u);
  EXPECT_THAT(message, HasSubstr("ungültige Zahl „" + field.substr(0, 100) + "…“ in Feld 3"));
  EXPECT_THAT(message, HasSubstr(": „T,x,47.5," + field.substr(0, 91) + "…“"));
}

}  // namespace
}  // namespace quorvanta
