#include "views/MapDescription.h"

#include <gtest/gtest.h>

#include "flight/FileContent.h"
#include "flight/Geodesy.h"
#include "support/TestFiles.h"

namespace quorvanta {
namespace {

TEST(MapDescription, DegreesMinutesSecondsAndSecondsPerPixel) {
  EXPECT_DOUBLE_EQ(dmsDegrees("47.30.0"), 47.5);
  EXPECT_DOUBLE_EQ(dmsDegrees("1.6.30"), 1 + 6 / 60.0 + 30 / 3600.0);
  EXPECT_DOUBLE_EQ(dmsDegrees("-3.15.0"), -3.25);
  EXPECT_DOUBLE_EQ(dmsDegrees("3.-15.0"), -3.25);  // a "-" anywhere
  EXPECT_DOUBLE_EQ(dmsDegrees("12"), 12);
  EXPECT_DOUBLE_EQ(secondsPerPixel("8.25"), 8.25);
  EXPECT_DOUBLE_EQ(secondsPerPixel("6.0"), 6);
  EXPECT_DOUBLE_EQ(secondsPerPixel("2.123456789"), 2.1234567);  // seven digits counted
  EXPECT_DOUBLE_EQ(secondsPerPixel("7"), 7);
}

TEST(MapDescription, RealMapFilePlacesItsGraticule) {
  std::string content;
  ASSERT_FALSE(readWholeFile((test::testDataDir() / "map" / "pyrenees.map").string(), content));
  const MapDescription map = parseMapDescription(content);
  EXPECT_EQ(map.fileName, "pyrenees.bmp");
  EXPECT_DOUBLE_EQ(map.topLat, 42.75 * DegToRad);
  EXPECT_DOUBLE_EQ(map.topLon, (1 + 6.5 / 60) * DegToRad);
  EXPECT_EQ(map.pixWidth, 365);
  EXPECT_EQ(map.pixHeight, 419);

  // A map showing exactly the bitmap's area at one screen pixel per bitmap
  // pixel puts it at the origin with its own size.
  const MapRect exact{map.topLat, map.topLat - 419 * map.latPerPixel,
                      map.topLon + 365 * map.lonPerPixel, map.topLon};
  const MapPlacement same = placeMap(map, exact, 365, 419);
  EXPECT_EQ(same.left, 0);
  EXPECT_EQ(same.top, 0);
  EXPECT_EQ(same.right, 365);
  EXPECT_EQ(same.bottom, 419);
  EXPECT_FALSE(same.overzoomed);

  // Zoomed in so that one bitmap pixel spans three map pixels: still drawn;
  // a little more and it is overzoomed.
  MapRect three = exact;
  three.east = three.west + 365 * map.lonPerPixel / 3;
  EXPECT_FALSE(placeMap(map, three, 365, 419).overzoomed);
  three.east = three.west + 365 * map.lonPerPixel / 3.01;
  EXPECT_TRUE(placeMap(map, three, 365, 419).overzoomed);
}

TEST(MapDescription, MissingKeysReadAsZero) {
  const MapDescription map = parseMapDescription("[Other]\r\nPixWidth=3\r\n[map]\r\nFilename = a.bmp\r\n");
  EXPECT_EQ(map.fileName, "a.bmp");
  EXPECT_EQ(map.pixWidth, 0);
  EXPECT_EQ(map.topLat, 0);
}

}  // namespace
}  // namespace quorvanta
