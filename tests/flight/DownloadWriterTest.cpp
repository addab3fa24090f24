#include "flight/DownloadWriter.h"

#include <limits>
#include <memory>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "flight/GRecord.h"
#include "flight/IgcReader.h"
#include "flight/IgcRecords.h"
#include "support/DayTime.h"
#include "support/PlausibleHeader.h"
#include "support/TestFiles.h"

namespace quorvanta {
namespace {

using ::testing::HasSubstr;
using test::at;

TEST(IgcRecords, CoordinatesInDegreesAndThousandthsOfMinutes) {
  EXPECT_EQ(longitudeField(-0.5), "00030000W");
  EXPECT_EQ(longitudeField(359.5), "00030000W");
  EXPECT_EQ(longitudeField(11.25), "01115000E");
  EXPECT_EQ(longitudeField(-179.99999999), "18000000W");  // 60000 carries into the degrees
  EXPECT_EQ(latitudeField(47.9999999), "4800000N");
  EXPECT_EQ(latitudeField(-33.123456), "3307407S");
  EXPECT_EQ(latitudeField(0), "0000000S");
  EXPECT_EQ(altitudeField(-12), "-0012");
  EXPECT_EQ(altitudeField(123456), "99999");
  EXPECT_EQ(bRecord({at(2003, 7, 15, 9, 5, 7), 47.5, 11.25, true, 0, 1234}),
            "B0905074730000N01115000EA0000001234");
  EXPECT_EQ(bRecord({at(2003, 7, 15, 23, 59, 59) + 0.6 / 86400, 1, 2, false, 5, 6}),
            "B0000000100000N00200000EV0000500006");  // rounds into the next second
}

TEST(IgcRecords, FieldsKeepTheirWidthWhateverTheValue) {
  constexpr double Inf = std::numeric_limits<double>::infinity();
  constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(latitudeField(1e39), "9000000N");
  EXPECT_EQ(latitudeField(100), "9000000N");
  EXPECT_EQ(latitudeField(-Inf), "9000000S");
  EXPECT_EQ(latitudeField(NaN), "0000000S");
  EXPECT_EQ(latitudeField(89.99999999), "9000000N");
  EXPECT_EQ(longitudeField(1e39), "18000000E");
  EXPECT_EQ(longitudeField(-1e39), "18000000W");
  EXPECT_EQ(longitudeField(NaN), "00000000W");
  const std::string line = bRecord({at(2003, 7, 15, 9, 5, 7), 1e39, NaN, true, 0, 1234});
  EXPECT_EQ(line, "B0905079000000N00000000WA0000001234");
  EXPECT_EQ(bRecord({NaN, NaN, Inf, true, 0, 0}).size(), 35u);
  EXPECT_EQ(bRecord({1e39, -1e39, 1e39, true, 0, 0}).size(), 35u);
}

TEST(IgcRecords, AnyTimeGivesADateLine) {
  std::string text;
  FixLineWriter fixes(text, std::numeric_limits<double>::quiet_NaN());
  fixes.add({1e39, 47.5, 8.1, true, 0, 0});
  fixes.add({-std::numeric_limits<double>::infinity(), 47.5, 8.1, true, 0, 0});
  EXPECT_EQ(text,
            "HFDTE311299\r\nB2359594730000N00806000EA0000000000\r\n"
            "HFDTE010101\r\nB0000004730000N00806000EA0000000000\r\n");
}

TEST(IgcRecords, NewDateLineWhereTheDateChanges) {
  std::string text;
  FixLineWriter fixes(text, at(2003, 7, 15, 12, 0, 0));
  fixes.add({at(2003, 7, 15, 23, 59, 59), 0.5, 1, true, 0, 0});
  fixes.add({at(2003, 7, 16, 0, 0, 1), 0.5, 1, true, 0, 0});
  fixes.add({at(2003, 7, 16, 0, 0, 2), 0.5, 1, true, 0, 0});
  EXPECT_EQ(text,
            "B2359590030000N00100000EA0000000000\r\nHFDTE160703\r\n"
            "B0000010030000N00100000EA0000000000\r\nB0000020030000N00100000EA0000000000\r\n");
}

TEST(DownloadWriter, FileNameFromDateAndPilotId) {
  EXPECT_EQ(downloadFileName(at(2003, 7, 15, 10, 0, 0), "ABCD", 1), "37FABCD1.igc");
  EXPECT_EQ(downloadFileName(at(2019, 12, 31, 10, 0, 0), "WXYZ", 31), "9CVWXYZV.igc");
  EXPECT_FALSE(downloadFileName(at(2019, 12, 31, 10, 0, 0), "WXYZ", 32));
  EXPECT_FALSE(downloadFileName(at(2019, 12, 31, 10, 0, 0), "WXYZ", 0));
}

TEST(DownloadWriter, DateComesFromTheFirstSelectedPointAfterTheFirst) {
  std::vector<DownloadPoint> points = {{at(2003, 7, 14, 9, 0, 0), 0, 0, 0, true},
                                       {at(2003, 7, 15, 9, 0, 0), 0, 0, 0, false},
                                       {at(2003, 7, 16, 9, 0, 0), 0, 0, 0, true}};
  EXPECT_EQ(downloadDate(points), points[2].time);
  points[2].selected = false;
  EXPECT_EQ(downloadDate(points), points[0].time);
  points[0].selected = false;
  EXPECT_FALSE(downloadDate(points));
}

class DownloadedFlightTest : public ::testing::Test {
 protected:
  IgcHeaderValues header() const { return test::plausibleHeader(scratch.path()); }
  std::vector<DownloadPoint> points = {
      {at(2003, 7, 15, 9, 0, 0), 47.5, 11.25, 900, true},
      {at(2003, 7, 15, 10, 5, 7), 47.5, -0.5, 1234, true},
      {at(2003, 7, 15, 10, 5, 8), 47.6, 359.5, 1240, false},
      {at(2003, 7, 15, 10, 5, 9), -33.5, 151.25, 1250, true},
  };
  const double writtenAt = at(2026, 12, 6, 14, 3, 22);  // a Sunday
  test::ScratchDir scratch;
};

TEST_F(DownloadedFlightTest, CommonLayoutByteForByte) {
  std::vector<int> shown;
  const std::string text =
      downloadFileText("AGAR GPSMAP", header(), points, writtenAt, [&](int p) { shown.push_back(p); });
  EXPECT_EQ(text,
            "AGAR GPSMAP\r\n"
            "HFDTE150703\r\n"
            "HOPLTPILOT: Erika Mustermann\r\n"
            "HOGTYGLIDERTYPE: Falke 13\r\n"
            "HOGIDGLIDERID: 4711\r\n"
            "HOCIDCOMPETITIONID: DHV-OLC-2003\r\n"
            "HODTM100GPSDATUM: WGS-84\r\n"
            "HOCCLCOMPETITION CLASS: Flexible Wing (FAI class 1)\r\n"
            "HOSITSite: Wasserkuppe\r\n"
            "B0900004730000N01115000EA0000000900\r\n"
            "B1005074730000N00030000WA0000001234\r\n"
            "B1005093330000S15115000EA0000001250\r\n"
            "L   Quorvanta   Vers. 3.2\r\n"
            "L   Sonntag 06.12.2026  14:03:22\r\n");
  EXPECT_EQ(shown, (std::vector<int>{25, 50, 75, 100}));
}

TEST_F(DownloadedFlightTest, WrittenSignedAndReadableWithTheNextFlightNumber) {
  scratch.write("37FERMU1.igc", "an earlier flight of the day");
  const DownloadOutcome outcome = writeDownloadedFlight("AGAR GPSMAP", header(), points, writtenAt);
  ASSERT_FALSE(outcome.error) << *outcome.error;
  EXPECT_EQ(outcome.path, (scratch.path() / "37FERMU2.igc").string());
  EXPECT_EQ(outcome.status, "igc-File geschrieben (signiert) " + outcome.path);

  EXPECT_EQ(verifyGRecord(test::fileContent(outcome.path)), GRecordCheck::Valid);
  auto record = std::make_unique<FlightRecord>();
  ASSERT_TRUE(readFlightFile(outcome.path, *record).ok());
  EXPECT_EQ(record->FixCount, 3);
  EXPECT_DOUBLE_EQ(record->FixTime[2], points[1].time);
}

TEST_F(DownloadedFlightTest, NothingIsWrittenWithoutPointsOrAFreeName) {
  for (auto& point : points) point.selected = false;
  EXPECT_THAT(writeDownloadedFlight("AGAR", header(), points, writtenAt).error.value_or(""),
              HasSubstr("kein Punkt"));
  EXPECT_TRUE(std::filesystem::is_empty(scratch.path()));

  points[1].selected = true;
  for (int n = 1; n <= 31; ++n) scratch.write(*downloadFileName(points[1].time, "ERMU", n), "");
  EXPECT_THAT(writeDownloadedFlight("AGAR", header(), points, writtenAt).error.value_or(""),
              HasSubstr("schon 31 IGC-Dateien"));

  IgcHeaderValues elsewhere = header();
  elsewhere.directory = (scratch.path() / "missing").string() + "/";
  const DownloadOutcome failed = writeDownloadedFlight("AGAR", elsewhere, points, writtenAt);
  EXPECT_THAT(failed.error.value_or(""), HasSubstr("Verzeichnis nicht gefunden"));
  EXPECT_EQ(failed.path, "");
}

}  // namespace
}  // namespace quorvanta
