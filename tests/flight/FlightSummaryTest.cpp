#include "flight/FlightSummary.h"

#include <memory>

#include <gtest/gtest.h>

#include "flight/Geodesy.h"

namespace quorvanta {
namespace {

constexpr double Second = 1.0 / 86400;

// A climb of 1 m per second northwards, one fix a second.
std::unique_ptr<FlightRecord> steadyClimb(int fixes) {
  auto record = std::make_unique<FlightRecord>();
  for (int i = 1; i <= fixes; ++i) {
    record->FixLat[i] = (46 + i * 1e-4) * DegToRad;
    record->FixLon[i] = 11 * DegToRad;
    record->FixTime[i] = 37817 + i * Second;
    record->FixAlt[i] = 1000 + i;
  }
  record->FixCount = fixes;
  return record;
}

TEST(FlightSummary, FewerThanTenFixesKeepTheStartValues) {
  auto record = steadyClimb(9);
  computeSummaryValues(*record);
  EXPECT_EQ(record->MaxAlt, 0);
  EXPECT_EQ(record->MinAlt, 100000);
  EXPECT_EQ(record->MaxClimb, 0);
  EXPECT_EQ(record->MaxSpeed, 0);
}

TEST(FlightSummary, LeavesOutTheFirstFourAndLastFiveFixes) {
  auto record = steadyClimb(20);
  record->FixAlt[4] = 9000;   // outside the window
  record->FixAlt[16] = 9000;  // outside: the last pair looked at is (15, 16)
  record->FixGroundAlt[10] = 700;
  computeSummaryValues(*record);
  EXPECT_EQ(record->MinAlt, 1005);
  EXPECT_EQ(record->MaxAlt, 1015);
  EXPECT_EQ(record->MaxGroundAlt, 700);
  EXPECT_NEAR(record->MaxClimb, 7985, 0.01);  // 1015 -> 9000 in one second
  EXPECT_NEAR(record->MaxSink, 0, 1e-9);
  const double step = ArcDistance(46.0005 * DegToRad, 11 * DegToRad, 46.0006 * DegToRad, 11 * DegToRad);
  EXPECT_NEAR(record->MaxSpeed, step / Second, step / Second * 1e-6);
}

TEST(FlightSummary, PairsWithEqualTimesCountForNoRate) {
  auto record = steadyClimb(20);
  record->FixTime[9] = record->FixTime[8];
  record->FixAlt[9] = 5000;
  record->FixAlt[10] = 1010;
  computeSummaryValues(*record);
  // (8, 9) share a time; (9, 10) sinks 3990 m in two seconds.
  EXPECT_NEAR(record->MaxClimb, 1, 1e-6);
  EXPECT_NEAR(record->MaxSink, -1995, 1e-3);
}

TEST(FlightSummary, AllZeroAltitudesLeaveMaxAltZero) {
  auto record = steadyClimb(30);
  for (int i = 1; i <= 30; ++i) record->FixAlt[i] = 0;
  computeSummaryValues(*record);
  EXPECT_EQ(record->MaxAlt, 0);
  EXPECT_EQ(record->MinAlt, 100000);
}

}  // namespace
}  // namespace quorvanta
