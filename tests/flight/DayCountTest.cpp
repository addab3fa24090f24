#include "flight/DayCount.h"

#include <limits>

#include <gtest/gtest.h>

namespace quorvanta {
namespace {

TEST(DayCount, CountsDaysSinceTheEndOf1899) {
  EXPECT_EQ(encodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(encodeDate(1900, 1, 1), 2.0);
  EXPECT_EQ(encodeDate(2003, 7, 15), 37817.0);
  EXPECT_EQ(encodeDate(2000, 2, 29), 36585.0);
  EXPECT_EQ(encodeDate(1, 1, 1), -693593.0);
}

TEST(DayCount, RejectsDatesThatDoNotExist) {
  EXPECT_FALSE(encodeDate(2003, 2, 29));
  EXPECT_FALSE(encodeDate(1900, 2, 29));
  EXPECT_FALSE(encodeDate(2003, 13, 1));
  EXPECT_FALSE(encodeDate(2003, 4, 31));
  EXPECT_FALSE(encodeDate(0, 1, 1));
  EXPECT_FALSE(encodeDate(2000, 0, 0));
}

TEST(DayCount, TimeIsTheFractionOfTheDay) {
  EXPECT_EQ(encodeTime(12, 0, 0), 0.5);
  EXPECT_EQ(encodeTime(0, 0, 0), 0.0);
  EXPECT_DOUBLE_EQ(*encodeTime(23, 59, 59), 86399.0 / 86400);
  EXPECT_FALSE(encodeTime(24, 0, 0));
  EXPECT_FALSE(encodeTime(10, 60, 0));
  EXPECT_FALSE(encodeTime(10, 0, 60));
  EXPECT_FALSE(encodeTime(-1, 0, 0));
}

TEST(DayCount, IsoTextRoundsToTheSecond) {
  EXPECT_EQ(isoDateTimeText(*encodeDate(2003, 7, 15) + *encodeTime(10, 5, 7)),
            "2003-07-15T10:05:07");
  EXPECT_EQ(isoDateTimeText(*encodeDate(2016, 12, 31) + *encodeTime(23, 59, 59)),
            "2016-12-31T23:59:59");
  EXPECT_EQ(isoDateTimeText(0), "1899-12-30T00:00:00");
  EXPECT_EQ(isoDateTimeText(-1.25), "1899-12-28T18:00:00");
}

TEST(DayCount, AnyValueIsClampedIntoTheYearsOneTo9999) {
  EXPECT_EQ(clampedDayCount(37817.25), 37817.25);
  EXPECT_EQ(clampedDayCount(std::numeric_limits<double>::quiet_NaN()), 0.0);
  EXPECT_EQ(clampedDayCount(-1e39), -693593.0);
  EXPECT_EQ(isoDateTimeText(1e39), "9999-12-31T23:59:59");
  EXPECT_EQ(isoDateTimeText(std::numeric_limits<double>::infinity()), "9999-12-31T23:59:59");
  EXPECT_EQ(isoDateTimeText(-std::numeric_limits<double>::infinity()), "0001-01-01T00:00:00");
  EXPECT_EQ(isoDateTimeText(std::numeric_limits<double>::quiet_NaN()), "1899-12-30T00:00:00");
}

}  // namespace
}  // namespace quorvanta
