#include "flight/TextLines.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace quorvanta {
namespace {

using ::testing::ElementsAre;

TEST(TextLines, CrLfAndLfOnlyGiveTheSameLines) {
  EXPECT_THAT(splitLines("A1\r\nB2\r\n\r\nC3\r\n"), ElementsAre("A1", "B2", "", "C3"));
  EXPECT_THAT(splitLines("A1\nB2\n\nC3\n"), ElementsAre("A1", "B2", "", "C3"));
}

TEST(TextLines, LineEndsAtCrAloneAndLastLineNeedsNoEnd) {
  EXPECT_THAT(splitLines("A1\rB2\rC3"), ElementsAre("A1", "B2", "C3"));
  EXPECT_THAT(splitLines(""), ElementsAre());
}

TEST(TextLines, LfInsideLaterLineOfCrFileStaysInTheLine) {
  // Only the first line decides whether LF ends lines.
  EXPECT_THAT(splitLines("A1\r\nB\n2\r\n"), ElementsAre("A1", "B\n2"));
}

TEST(TextLines, LfOnlyFileWithStrayCrLfKeepsEveryLine) {
  // Every LF becomes CR LF, so a CR LF inside an LF file adds an empty line.
  EXPECT_THAT(splitLines("A1\nB2\r\nC3\n"), ElementsAre("A1", "B2", "", "C3"));
}

}  // namespace
}  // namespace quorvanta
