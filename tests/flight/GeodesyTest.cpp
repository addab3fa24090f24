#include "flight/Geodesy.h"

#include <cmath>
#include <limits>
#include <random>

#include <gtest/gtest.h>


namespace quorvanta {
namespace {

double rad(double degrees) { return degrees * DegToRad; }

TEST(Geodesy, OneDegreeOfLatitudeIs111Point19Km) {
  const double km = ArcDistance(rad(47), rad(11), rad(48), rad(11)) * EarthRadiusKm;
  EXPECT_NEAR(km, 111.19, 0.005);
  EXPECT_EQ(ArcDistance(rad(47), rad(11), rad(47), rad(11)), 0.0);
}

TEST(Geodesy, ArcDistanceIsSymmetricAndStaysFiniteAtTheAntipode) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> lat(-1.5, 1.5), lon(-3.1, 3.1);
  for (int n = 0; n < 1000; ++n) {
    const double a = lat(random), b = lon(random), c = lat(random), d = lon(random);
    EXPECT_EQ(ArcDistance(a, b, c, d), ArcDistance(c, d, a, b));
  }
  const double antipode = ArcDistance(rad(45), rad(10), rad(-45), rad(-170));
  EXPECT_FALSE(std::isnan(antipode));
  EXPECT_NEAR(antipode, Pi, 1e-7);
}

TEST(Geodesy, BearingIsNeverNegative) {
  EXPECT_NEAR(Bearing(rad(47), rad(11), rad(46), rad(11)), 180, 1e-9);
  EXPECT_NEAR(Bearing(rad(0), rad(11), rad(0), rad(10)), 270, 1e-9);
  EXPECT_NEAR(Bearing(rad(0), rad(10), rad(0), rad(11)), 90, 1e-9);
  EXPECT_EQ(Bearing(rad(47), rad(11), rad(48), rad(11)), 0);
  EXPECT_EQ(Bearing(rad(47), rad(11), rad(47), rad(11)), 0);
}

TEST(Geodesy, AngleTextsShowDegreesAndDecimalMinutes) {
  EXPECT_EQ(AngleText(rad(47.5)), "47:30.000");
  EXPECT_EQ(AngleText(rad(8.1)), "8:06.000");
  EXPECT_EQ(AngleText(rad(-47.5)), "-47:30.000");
  EXPECT_EQ(AngleText(rad(47 + 9.9996 / 60)), "47:10.000");
  EXPECT_EQ(AngleText(rad(47 + 9.9994 / 60)), "47:09.999");
  EXPECT_EQ(PaddedAngleText(rad(12)), "12:00.000");
  EXPECT_EQ(PaddedAngleText(rad(9)), " 9:00.000");
  EXPECT_EQ(DegreesText(7.5), " 7:30.000");
  EXPECT_EQ(DegreesText(12.25), "12:15.000");
  EXPECT_EQ(DegreesText(-7.5), " -7:30.000");
}

TEST(Geodesy, ClaimCoordinateText) {
  EXPECT_EQ(ClaimCoordinateText("w0", 'b', rad(47.5)), "&w0bh=N&w0bg=47&w0bm=30&w0bmd=000");
  EXPECT_EQ(ClaimCoordinateText("w1", 'l', rad(-3.25)), "&w1lh=W&w1lg=3&w1lm=15&w1lmd=000");
  EXPECT_EQ(ClaimCoordinateText("s", 'b', 0), "&sbh=N&sbg=0&sbm=00&sbmd=000");
  EXPECT_EQ(ClaimCoordinateText("s", 'l', 0), "&slh=E&slg=0&slm=00&slmd=000");
  EXPECT_EQ(ClaimCoordinateText("f", 'b', rad(-(8 + 7.0405 / 60))),
            "&fbh=S&fbg=8&fbm=07&fbmd=040");
}

TEST(Geodesy, ClaimCoordinateTextNeverShows60MinutesOr1000Thousandths) {
  // 11 degrees reach the function as 10.999999999999998.
  EXPECT_EQ(ClaimCoordinateText("w0", 'l', rad(11)), "&w0lh=E&w0lg=11&w0lm=00&w0lmd=000");
  for (int millis = 0; millis < 60000 * 3; millis += 7) {
    const double degrees = millis / 60000.0;
    const std::string text = ClaimCoordinateText("p", 'b', rad(degrees));
    const std::string expected = "&pbh=N&pbg=" + std::to_string(millis / 60000) + "&pbm=" +
                                 (millis / 1000 % 60 < 10 ? "0" : "") +
                                 std::to_string(millis / 1000 % 60) + "&pbmd=" +
                                 std::string(millis % 1000 < 100 ? (millis % 1000 < 10 ? "00" : "0") : "") +
                                 std::to_string(millis % 1000);
    ASSERT_EQ(text, expected) << millis;
  }
}

TEST(Geodesy, ClaimCoordinateTextStaysInRangeWhateverTheAngle) {
  EXPECT_EQ(ClaimCoordinateText("w0", 'b', 1e39), "&w0bh=N&w0bg=90&w0bm=00&w0bmd=000");
  EXPECT_EQ(ClaimCoordinateText("w0", 'b', rad(-100)), "&w0bh=S&w0bg=90&w0bm=00&w0bmd=000");
  EXPECT_EQ(ClaimCoordinateText("w0", 'l', -1e39), "&w0lh=W&w0lg=360&w0lm=00&w0lmd=000");
  EXPECT_EQ(ClaimCoordinateText("w0", 'l', rad(359.5)), "&w0lh=E&w0lg=359&w0lm=30&w0lmd=000");
  EXPECT_EQ(ClaimCoordinateText("w0", 'b', std::numeric_limits<double>::quiet_NaN()),
            "&w0bh=S&w0bg=0&w0bm=00&w0bmd=000");
  EXPECT_EQ(ClaimCoordinateText("w0", 'l', std::numeric_limits<double>::infinity()),
            "&w0lh=E&w0lg=360&w0lm=00&w0lmd=000");
}

}  // namespace
}  // namespace quorvanta
