#include "flight/FieldText.h"

#include <gtest/gtest.h>

namespace quorvanta {
namespace {

TEST(FieldText, ColumnsAreOneBasedAndClippedToTheLine) {
  EXPECT_EQ(columns("B1234567", 2, 2), "12");
  EXPECT_EQ(columns("B1234567", 7, 5), "67");
  EXPECT_EQ(columns("B12", 4, 2), "");
  EXPECT_EQ(columns("B12", 0, 2), "B1");
  EXPECT_EQ(columns("B12", 2, 0), "");
  EXPECT_EQ(columns("B12", 2, -3), "");
}

TEST(FieldText, IntegerFieldAcceptsSignAndLeadingBlanksOnly) {
  EXPECT_EQ(integerField("00512"), 512);
  EXPECT_EQ(integerField("-0012"), -12);
  EXPECT_EQ(integerField("+7"), 7);
  EXPECT_EQ(integerField("  42"), 42);
  EXPECT_EQ(integerField("-2147483648"), -2147483648LL);
  EXPECT_FALSE(integerField("2147483648"));
  EXPECT_FALSE(integerField("99999999999999999999"));
  EXPECT_FALSE(integerField(""));
  EXPECT_FALSE(integerField("-"));
  EXPECT_FALSE(integerField("12a"));
  EXPECT_FALSE(integerField("42 "));
  EXPECT_FALSE(integerField("1.5"));
}

TEST(FieldText, LeadingIntegerIgnoresTheRest) {
  EXPECT_EQ(leadingInteger("2003"), 2003);
  EXPECT_EQ(leadingInteger("12.5"), 12);
  EXPECT_EQ(leadingInteger(" 7 m"), 7);
  EXPECT_EQ(leadingInteger("-35"), -35);
  EXPECT_FALSE(leadingInteger("m12"));
  EXPECT_FALSE(leadingInteger(""));
}

TEST(FieldText, DecimalFieldNeedsAWholeFiniteNumberWithPoint) {
  EXPECT_DOUBLE_EQ(*decimalField("47.5"), 47.5);
  EXPECT_DOUBLE_EQ(*decimalField(" -8.25 "), -8.25);
  EXPECT_DOUBLE_EQ(*decimalField("+1e1"), 10);
  EXPECT_FALSE(decimalField("47,5"));
  EXPECT_FALSE(decimalField("nan"));
  EXPECT_FALSE(decimalField("inf"));
  EXPECT_FALSE(decimalField("1e999"));
  EXPECT_FALSE(decimalField(""));
}

}  // namespace
}  // namespace quorvanta
