#include "views/MapGeometry.h"

#include <cmath>
#include <memory>

#include <gtest/gtest.h>

namespace quorvanta {
namespace {

std::unique_ptr<FlightRecord> flightAt(std::initializer_list<std::pair<double, double>> fixes) {
  auto record = std::make_unique<FlightRecord>();
  for (const auto& [lat, lon] : fixes) {
    ++record->FixCount;
    record->FixLat[record->FixCount] = lat;
    record->FixLon[record->FixCount] = lon;
  }
  return record;
}

TEST(MapGeometry, SingleFixIsWidenedSquaredAndGivenMargins) {
  const double lat = 0.8, lon = 0.2;
  const MapRect r = fitToTrack(*flightAt({{lat, lon}}));
  const double dLat = lat * 0.00029, dLon = lon * 0.00029;
  const double q = dLat / (std::cos(lat) * dLon);  // > 1: the longitude extent grows
  ASSERT_GT(q, 1);
  EXPECT_NEAR(r.south, lat * 0.999855 - 0.05 * dLat, 1e-15);
  EXPECT_NEAR(r.north, lat * 1.000145 + 0.05 * dLat, 1e-15);
  EXPECT_NEAR(r.east, lon + 0.5 * dLon * q + 0.05 * dLon, 1e-15);
  EXPECT_NEAR(r.west, lon - 0.5 * dLon * q - 0.05 * dLon, 1e-15);

  const MapRect equator = fitToTrack(*flightAt({{0, 0}}));
  EXPECT_NEAR(equator.north, 0.000145 + 0.05 * 0.00029, 1e-15);
  EXPECT_NEAR(equator.west, -0.000145 - 0.05 * 0.00029, 1e-15);
}

TEST(MapGeometry, TrackAsHighAsWideOnlyGetsMargins) {
  // At latitude 0 the cosine is 1, so equal extents give q = 1.
  const MapRect r = fitToTrack(*flightAt({{-0.01, 0.3}, {0.01, 0.32}}));
  EXPECT_NEAR(r.north, 0.01 + 0.001, 1e-15);
  EXPECT_NEAR(r.south, -0.01 - 0.001, 1e-15);
  EXPECT_NEAR(r.east, 0.32 + 0.05 * (0.32 - 0.3), 1e-15);
  EXPECT_NEAR(r.west, 0.3 - 0.05 * (0.32 - 0.3), 1e-15);
}

TEST(MapGeometry, ProjectionTruncatesAndInverts) {
  const MapRect r{1.0, 0.0, 1.0, 0.0};
  EXPECT_EQ(xy(r, 0.5, 0.25, 505), (Pixel{126, 252}));
  EXPECT_EQ(xy(r, 1.0, 0.999, 100), (Pixel{99, 0}));
  EXPECT_EQ(xy(r, 1e30, -1e30, 100).y, -10000000);  // far outside: no overflow
  EXPECT_EQ(xy1(0.05, 0.05, 505), (Pixel{25, 479}));
  const Position p = positionAt(r, {126, 252}, 505, 505);
  EXPECT_NEAR(p.lat, 0.5, 1.0 / 505);
  EXPECT_NEAR(p.lon, 0.25, 1.0 / 505);
}

TEST(MapGeometry, ScaleBarSteps) {
  EXPECT_EQ(scaleKmFor(0.002), 1);
  EXPECT_EQ(scaleKmFor(0.0020001), 2);
  EXPECT_EQ(scaleKmFor(0.005), 2);
  EXPECT_EQ(scaleKmFor(0.006), 5);
  EXPECT_EQ(scaleKmFor(0.011), 10);
  EXPECT_EQ(scaleKmFor(0.03), 20);
  EXPECT_EQ(scaleKmFor(0.3), 50);
}

TEST(MapGeometry, ZoomPanAndWheel) {
  const MapRect r{1.0, 0.0, 2.0, 1.0};
  // A 21 x 3 drag zooms to a 21 x 21 square anchored at the start.
  EXPECT_EQ(dragSize({100, 100}, {121, 103}), 21);
  const MapRect zoomed = dragZoomed(r, {100, 100}, {121, 103}, 100, 100);
  EXPECT_DOUBLE_EQ(zoomed.north, 0.0);
  EXPECT_DOUBLE_EQ(zoomed.south, -0.21);
  EXPECT_DOUBLE_EQ(zoomed.west, 2.0);
  EXPECT_DOUBLE_EQ(zoomed.east, 2.21);
  const MapRect upLeft = dragZoomed(r, {50, 50}, {20, 45}, 100, 100);
  EXPECT_DOUBLE_EQ(upLeft.west, 1.2);
  EXPECT_DOUBLE_EQ(upLeft.east, 1.5);
  EXPECT_DOUBLE_EQ(upLeft.north, 0.8);
  EXPECT_DOUBLE_EQ(upLeft.south, 0.5);

  const MapRect panned = dragPanned(r, {50, 50}, {60, 30}, 100, 100);  // right and up
  EXPECT_DOUBLE_EQ(panned.west, 0.9);
  EXPECT_DOUBLE_EQ(panned.east, 1.9);
  EXPECT_DOUBLE_EQ(panned.north, 0.8);
  EXPECT_DOUBLE_EQ(panned.south, -0.2);

  EXPECT_EQ(zoomedOut(r), (MapRect{1.5, -0.5, 2.5, 0.5}));
  const MapRect out = wheelZoomed(r, true);
  EXPECT_DOUBLE_EQ(out.north - out.south, 1.2);
  const MapRect in = wheelZoomed(r, false);
  EXPECT_DOUBLE_EQ(in.east - in.west, 0.8);
  EXPECT_DOUBLE_EQ(in.east + in.west, 3.0);
}

}  // namespace
}  // namespace quorvanta
