#include "flight/NumberText.h"

#include <gtest/gtest.h>

namespace quorvanta {
namespace {

class NumberTextTest : public ::testing::Test {
 protected:
  void SetUp() override { setDecimalSeparator('.'); }
  void TearDown() override { setDecimalSeparator('.'); }
};

TEST_F(NumberTextTest, RoundsHalfAwayFromZeroOnTheShownDigits) {
  EXPECT_EQ(fixedText(2.25, 1), "2.3");
  EXPECT_EQ(fixedText(-2.25, 1), "-2.3");
  EXPECT_EQ(fixedText(0.125, 2), "0.13");
  EXPECT_EQ(fixedText(9.9996, 3), "10.000");
  EXPECT_EQ(fixedText(47.0, 0), "47");
  EXPECT_EQ(fixedText(0.0004, 1), "0.0");
  EXPECT_EQ(fixedText(-0.01, 1), "0.0");
  EXPECT_EQ(fixedText(123456.789, 3), "123456.789");
}

TEST_F(NumberTextTest, PrecisionCutsSignificantDigitsFirst) {
  EXPECT_EQ(fixedText(3.14159, 1, 3), "3.1");
  EXPECT_EQ(fixedText(123.45, 1, 3), "123.0");
  EXPECT_EQ(fixedText(0.96, 1, 3), "1.0");
  EXPECT_EQ(fixedText(1234.5, 1, 3), "1.23E+003");
}

TEST_F(NumberTextTest, UsesTheUiDecimalSeparator) {
  setDecimalSeparator(',');
  EXPECT_EQ(fixedText(4.5, 3), "4,500");
  EXPECT_EQ(fixedText(1234.5, 1, 3), "1,23E+003");
}

}  // namespace
}  // namespace quorvanta
