#include "devices/garmin/GarminTrack.h"

#include <limits>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "devices/garmin/GarminTrackChoice.h"
#include "devices/sim/GarminScriptWriter.h"
#include "flight/DayCount.h"
#include "flight/Geodesy.h"
#include "support/DayTime.h"

namespace quorvanta::garmin {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using test::at;

std::string d301(double latDeg, double lonDeg, std::uint32_t time, float alt, bool newTrack) {
  return sim::trackPointRecord({latDeg, lonDeg, time, alt, newTrack}, sim::TrackFormat::D301);
}

TEST(GarminTrackPoint, D301PositionTimeAndAltitude) {
  const auto point = decodeTrackPoint(d301(45, -90, 86400 + 3661, 812.5f, true), TrackFormat::D301);
  ASSERT_TRUE(point);
  EXPECT_DOUBLE_EQ(point->lat, 45 * DegToRad);
  EXPECT_DOUBLE_EQ(point->lon, -90 * DegToRad);
  EXPECT_EQ(isoDateTimeText(point->time), "1990-01-01T01:01:01");
  EXPECT_EQ(point->alt, 812);  // the exact half goes to the even neighbour
  EXPECT_TRUE(point->newTrack);
}

TEST(GarminTrackPoint, AbsurdAltitudesCountAsNone) {
  for (const float alt : {1.0e25f, -1.0e25f, std::numeric_limits<float>::quiet_NaN(),
                          std::numeric_limits<float>::infinity()}) {
    const auto point = decodeTrackPoint(d301(0, 0, 0, alt, false), TrackFormat::D301);
    ASSERT_TRUE(point);
    EXPECT_EQ(point->alt, 0) << alt;
  }
  EXPECT_EQ(decodeTrackPoint(d301(0, 0, 0, -12.6f, false), TrackFormat::D301)->alt, -13);
  EXPECT_EQ(decodeTrackPoint(d301(0, 0, 0, 1.0e19f, false), TrackFormat::D301)->alt, 1000000000);
}

TEST(GarminTrackPoint, NoTimeIsTheLastDayOf1989) {
  const auto point = decodeTrackPoint(d301(0, 0, 0xFFFFFFFF, 0, false), TrackFormat::D301);
  ASSERT_TRUE(point);
  EXPECT_EQ(shortDateText(point->time), "31.12.1989");
  EXPECT_EQ(timeOfDayText(point->time), "00:00:00");
}

TEST(GarminTrackPoint, D300HasNoAltitudeAndItsFlagAtByte12) {
  const std::string data = sim::trackPointRecord({90, 90, 60, 0, true}, sim::TrackFormat::D300);
  const auto point = decodeTrackPoint(data, TrackFormat::D300);
  ASSERT_TRUE(point);
  EXPECT_TRUE(point->newTrack);
  EXPECT_EQ(point->alt, 0);
  EXPECT_DOUBLE_EQ(point->lat, 90 * DegToRad);
}

TEST(GarminTrackPoint, ShortRecordsAndInvalidPositionsGiveNothing) {
  const std::string full = d301(0, 0, 0, 100, false);
  for (std::size_t size = 0; size < full.size(); ++size) {
    EXPECT_FALSE(decodeTrackPoint(full.substr(0, size), TrackFormat::D301)) << size;
  }
  EXPECT_FALSE(decodeTrackPoint("", TrackFormat::D300));
  // 0x7FFFFFFF, and one semicircle beyond the south pole
  EXPECT_FALSE(decodeTrackPoint(d301(180 - 1e-7, 180 - 1e-7, 0, 0, false), TrackFormat::D301));
  EXPECT_FALSE(decodeTrackPoint(d301(-90 - 1e-7, 0, 0, 0, false), TrackFormat::D301));
}

TEST(GarminTrackTable, ADuplicateTimeIsDroppedUnlessItStartsATrack) {
  TrackTable table;
  const double t = at(2003, 7, 15, 10, 0, 0);
  EXPECT_EQ(table.add({0, 0, t, 0, 1}, true), TrackTable::Added::Kept);
  EXPECT_EQ(table.add({0, 0, t + 0.3 / 86400, 0, 1}, false), TrackTable::Added::Dropped);
  EXPECT_EQ(table.add({0, 0, t - 0.3 / 86400, 0, 1}, false), TrackTable::Added::Dropped);
  EXPECT_EQ(table.count(), 1);
  EXPECT_EQ(table.add({0, 0, t + 0.3 / 86400, 0, 2}, true), TrackTable::Added::Kept);
  EXPECT_EQ(table.add({0, 0, t + 1.0 / 86400, 0, 2}, false), TrackTable::Added::Kept);
  EXPECT_EQ(table.count(), 3);
}

TEST(GarminTrackTable, KeepsNothingBeyondItsCapacity) {
  TrackTable table;
  for (int i = 1; i <= TrackTable::Capacity; ++i) {
    ASSERT_EQ(table.add({0, 0, i / 86400.0, 0, 0}, false), TrackTable::Added::Kept);
  }
  EXPECT_EQ(table.add({0, 0, 1, 0, 0}, false), TrackTable::Added::Full);
  EXPECT_EQ(table.add({0, 0, 2, 0, 1}, true), TrackTable::Added::Full);
  EXPECT_EQ(table.count(), TrackTable::Capacity);
  EXPECT_THROW(table[TrackTable::Capacity + 1], std::out_of_range);
}

TEST(GarminTrackTexts, DisplayAndTranscriptLines) {
  const TrackEntry entry{47.5 * DegToRad, 9.25 * DegToRad, at(2003, 7, 5, 8, 4, 3), 1234, 2};
  EXPECT_EQ(trackPointDisplayLine(entry, 17, true),
            "2. Track:   17. Punkt:  05.07.2003   8:04:03 UTC  N 47:30.000  E  9:15.000  1234 m"
            "  neuer Track\n");
  EXPECT_EQ(trackPointTranscriptLine(entry, false),
            "TRK:  5. 7.2003    8: 4: 3 UTC     47.50000000   9.25000000   1234 m  FALSE");
}

TrackTable threePointTrack() {
  TrackTable table;
  table.add({47 * DegToRad, 11 * DegToRad, at(2003, 7, 15, 9, 0, 0), 1000, 1}, true);
  table.add({47.01 * DegToRad, 11 * DegToRad, at(2003, 7, 15, 9, 1, 0), 0, 1}, false);
  table.add({47.01 * DegToRad, 11 * DegToRad, at(2003, 7, 15, 9, 2, 0), 1100, 2}, true);
  table.add({47.02 * DegToRad, 11 * DegToRad, at(2003, 7, 15, 9, 3, 0), 1100, 2}, false);
  table.add({47.03 * DegToRad, 11 * DegToRad, at(2003, 7, 15, 9, 4, 0), 1100, 2}, false);
  return table;
}

TEST(GarminTrackChoice, OneItemPerTrackWithItsTimesAndCount) {
  const TrackTable table = threePointTrack();
  const auto groups = trackGroups(table);
  ASSERT_EQ(groups.size(), 2u);
  EXPECT_EQ(trackItemText(groups[0]), "Track 1 15.07.2003 09:00:00 - 09:01:00 UTC 2 Punkte");
  EXPECT_THAT(trackItemText(groups[1]), StartsWith("Track 2"));
  EXPECT_THAT(trackItemText(groups[1]), EndsWith(" UTC 3 Punkte"));
  EXPECT_EQ(pointsOfTracks(table, {2}), (std::vector<int>{3, 4, 5}));
  EXPECT_EQ(pointsOfTracks(table, {1, 2}).size(), 5u);
}

TEST(GarminTrackChoice, PointItemsWithSpeedAndAltitude) {
  const TrackTable table = threePointTrack();
  EXPECT_EQ(pointItemText(table, 1),
            "Nr.    1  15.07.2003 09:00:00   N 47:00.000   E 11:00.000  1000 m ");
  // 0.01 degrees of latitude in a minute
  const double kmh = 0.01 * DegToRad * EarthRadiusKm * 60;
  EXPECT_NEAR(pointSpeed(table, 2), kmh, 1e-4);
  EXPECT_EQ(pointItemText(table, 2),
            "Nr.    2  15.07.2003 09:01:00   N 47:00.600   E 11:00.000   66.7 km/h");
}

TEST(GarminTrackChoice, PointsNoFurtherApartThanADuplicateHaveTheMarkerSpeed) {
  TrackTable table;
  const double t = at(2003, 7, 15, 9, 0, 0);
  table.add({0, 0, t, 0, 1}, true);
  table.add({0.001, 0, t + 0.3 / 86400, 0, 2}, true);
  table.add({0.002, 0, t - 1.0, 0, 3}, true);
  EXPECT_EQ(pointSpeed(table, 2), 10000);
  EXPECT_EQ(pointSpeed(table, 3), 10000);
  EXPECT_THAT(pointItemText(table, 2), HasSubstr(" 10000.0 km/h"));
}

TEST(GarminTrackChoice, DownloadPointsInDegreesSelectedAsTicked) {
  const TrackTable table = threePointTrack();
  const auto points = downloadPoints(table, {3, 4, 5}, {true, false, true});
  ASSERT_EQ(points.size(), 3u);
  EXPECT_DOUBLE_EQ(points[0].latDeg, 47.01);
  EXPECT_DOUBLE_EQ(points[0].lonDeg, 11);
  EXPECT_EQ(points[0].alt, 1100);
  EXPECT_EQ(points[0].time, table[3].time);
  EXPECT_TRUE(points[0].selected);
  EXPECT_FALSE(points[1].selected);
  EXPECT_TRUE(points[2].selected);
}

}  // namespace
}  // namespace quorvanta::garmin
