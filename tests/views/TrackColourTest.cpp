#include "views/TrackColour.h"

#include <memory>

#include <gtest/gtest.h>

#include "flight/FlightSummary.h"

namespace quorvanta {
namespace {

TEST(TrackColour, ScaleFromBlueToRed) {
  EXPECT_EQ(colourScale(0), (Rgb{0, 0, 255}));
  EXPECT_EQ(colourScale(0.5), (Rgb{0, 255, 0}));
  EXPECT_EQ(colourScale(1), (Rgb{255, 0, 0}));
  EXPECT_EQ(colourScale(1.7), (Rgb{255, 0, 0}));
  EXPECT_EQ(colourScale(0.25), (Rgb{0, 191, 255}));
  EXPECT_EQ(colourScale(0.6), (Rgb{187, 255, 0}));
  EXPECT_EQ(colourScale(0.8), (Rgb{255, 153, 0}));
}

class TrackColourTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Three fixes a second apart along a meridian, climbing 0, 10, 10 m;
    // the third has the same time as the second.
    const double alts[] = {100, 110, 120};
    for (int i = 1; i <= 3; ++i) {
      r->FixLat[i] = 0.8 + i * 1e-6;
      r->FixLon[i] = 0.2;
      r->FixTime[i] = 40000 + (i == 3 ? 1 : i - 1) / 86400.0;
      r->FixAlt[i] = static_cast<int>(alts[i - 1]);
      r->FixValid[i] = i != 2;
    }
    r->FixCount = 3;
    r->MaxAlt = 120;
    r->MinAlt = 100;
    r->MaxSpeed = 1e-6 * 86400;  // radians per day of the first segment
    r->MaxClimb = 10;
    r->MaxSink = -10;
  }
  std::unique_ptr<FlightRecord> r = std::make_unique<FlightRecord>();
};

TEST_F(TrackColourTest, EachModeDescribesItsFixOrSegment) {
  EXPECT_EQ(TrackColour(*r, 1, HeightMode), (Rgb{0, 0, 255}));
  EXPECT_EQ(TrackColour(*r, 2, HeightMode), (Rgb{0, 255, 0}));
  EXPECT_EQ(TrackColour(*r, 3, HeightMode), (Rgb{255, 0, 0}));
  EXPECT_EQ(TrackColour(*r, 1, GroundSpeedMode), (Rgb{255, 0, 0}));
  EXPECT_EQ(TrackColour(*r, 3, GroundSpeedMode), (Rgb{0, 0, 255}));  // no segment leaves it
  EXPECT_EQ(TrackColour(*r, 1, VarioMode), (Rgb{255, 0, 0}));        // +10 m/s
  EXPECT_EQ(TrackColour(*r, 3, VarioMode), (Rgb{0, 0, 255}));
  EXPECT_EQ(TrackColour(*r, 1, ValidityMode), (Rgb{0, 0, 0}));
  EXPECT_EQ(TrackColour(*r, 2, ValidityMode), (Rgb{255, 0, 0}));
  EXPECT_EQ(TrackColour(*r, 500, LegendMode), (Rgb{0, 255, 0}));
}

TEST_F(TrackColourTest, UncomputableValuesTakeTheColourOfZero) {
  // Fixes 2 and 3 share a time: speed and climb divide by zero.
  EXPECT_EQ(TrackColour(*r, 2, GroundSpeedMode), (Rgb{0, 0, 255}));
  EXPECT_EQ(TrackColour(*r, 2, VarioMode), (Rgb{0, 0, 255}));
  r->MaxClimb = r->MaxSink = 0;
  EXPECT_EQ(TrackColour(*r, 1, VarioMode), (Rgb{0, 0, 255}));
  r->MaxAlt = r->MinAlt;
  EXPECT_EQ(TrackColour(*r, 3, HeightMode), (Rgb{0, 0, 255}));
}

}  // namespace
}  // namespace quorvanta
