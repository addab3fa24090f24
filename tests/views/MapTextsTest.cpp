#include "views/MapTexts.h"

#include <memory>

#include <gtest/gtest.h>

#include "flight/DayCount.h"
#include "flight/Geodesy.h"
#include "flight/NumberText.h"

namespace quorvanta {
namespace {

class MapTextsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setDecimalSeparator(',');
    const double base = *encodeDate(2003, 7, 15) + *encodeTime(10, 0, 0);
    for (int i = 1; i <= 3; ++i) {
      r->FixLat[i] = 47.5 * DegToRad;
      r->FixLon[i] = (11 + i * 0.01) * DegToRad;
      r->FixTime[i] = base + (i - 1) * 10 / 86400.0;
      r->FixAlt[i] = 1000 + 20 * i;
    }
    r->FixCount = 3;
    r->MaxAlt = 1060;
    r->MinAlt = 1020;
  }
  void TearDown() override { setDecimalSeparator('.'); }
  std::unique_ptr<FlightRecord> r = std::make_unique<FlightRecord>();
};

TEST_F(MapTextsTest, NearestFixPrefersTheEarlierOfEqualDistances) {
  EXPECT_EQ(nearestFix(*r, 47.5 * DegToRad, 11.015 * DegToRad), 1);
  EXPECT_EQ(nearestFix(*r, 47.5 * DegToRad, 11.0151 * DegToRad), 2);
  EXPECT_EQ(nearestFix(*r, 48 * DegToRad, 20 * DegToRad), 3);
  r->FixCount = 0;
  EXPECT_EQ(nearestFix(*r, 0, 0), 0);
}

TEST_F(MapTextsTest, HeightLineWithAndWithoutBarogramShift) {
  EXPECT_EQ(heightLineText(*r, 0), "hmax: 1060 m    hmin: 1020 m");
  EXPECT_EQ(heightLineText(*r, 0.0000009), "hmax: 1060 m    hmin: 1020 m");
  EXPECT_EQ(heightLineText(*r, *encodeTime(0, 1, 30)),
            "hmax: 1060 m    hmin: 1020 m     BaroOffset: + 00:01:30");
  EXPECT_EQ(heightLineText(*r, -*encodeTime(1, 0, 0)),
            "hmax: 1060 m    hmin: 1020 m     BaroOffset: - 01:00:00");
  r->MinAlt = 100000;
  EXPECT_FALSE(heightLineText(*r, 0));
}

TEST_F(MapTextsTest, InfoBoxAndReadout) {
  const auto lines = infoBoxLines(*r, 2);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0].text, "Nr. 2  UTC: 10:00:10     ");
  EXPECT_EQ(lines[1].text, "N 47:30,000  E 11:01,200   ");
  EXPECT_EQ(lines[2].text, "Höhe:  1040 m  3412 ft     ");
  EXPECT_EQ(lines[3].text, "Vario: 2,0 m/s   ");
  EXPECT_EQ(lines[4].y, 64);
  EXPECT_EQ(lines[4].text, "Groundspeed: 270,4 km/h   ");  // 1.502 km in 20 s
  EXPECT_EQ(infoBoxLines(*r, 3).size(), 3u);  // the last fix has no neighbour after it

  // Latitude 0 is south in the info box but north in the mouse read-out.
  r->FixLat[1] = 0;
  EXPECT_EQ(infoBoxLines(*r, 1)[1].text.substr(0, 2), "S ");
  EXPECT_EQ(mouseReadoutText({0, -0.5 * DegToRad}), "Maus:   N 0:00,000   W 0:30,000  ");
}

TEST_F(MapTextsTest, GroundHeightFromTheTerrainModel) {
  TerrainModel terrain;
  terrain.DemRows = terrain.DemCols = 3;
  terrain.DemNorth = 47.51 * DegToRad;
  terrain.DemWest = 11.0 * DegToRad;
  terrain.DemLatStep = terrain.DemLonStep = 0.01 * DegToRad;
  terrain.DemNoData = -9999;
  terrain.DemGrid = {0, 0, 0, 0, 0, 812, 0, 0, -9999};
  const auto lines = infoBoxLines(*r, 2, &terrain);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[3].y, 50);
  EXPECT_EQ(lines[3].text, "Boden: 812 m  2664 ft     ");
  EXPECT_EQ(lines[4].y, 64);
  EXPECT_EQ(lines[5].y, 78);
  // Over a cell without data the line is left out, but the others still move down.
  r->FixLat[2] = 47.49 * DegToRad;
  const auto noData = infoBoxLines(*r, 2, &terrain);
  ASSERT_EQ(noData.size(), 5u);
  EXPECT_EQ(noData[3].y, 64);
  EXPECT_EQ(mouseReadoutText({47.5 * DegToRad, 11.02 * DegToRad}, &terrain),
            "Maus:   N 47:30,000   E 11:01,200  812 m     ");
  EXPECT_EQ(mouseReadoutText({40 * DegToRad, 11.02 * DegToRad}, &terrain),
            "Maus:   N 40:00,000   E 11:01,200            ");
}

}  // namespace
}  // namespace quorvanta
