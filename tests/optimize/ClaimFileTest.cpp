#include "optimize/ClaimFile.h"

#include <algorithm>
#include <limits>
#include <memory>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "flight/DayCount.h"
#include "flight/Geodesy.h"
#include "support/TestFiles.h"

namespace quorvanta {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

// Ten fixes a minute apart from 9:05:07 on 15 July 2003, heading west from
// 3.25 degrees west; a free distance over fixes 1..5 is the best route.
class ClaimFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 1; i <= 10; ++i) {
      record->FixLat[i] = (47.5 + i * 0.01) * DegToRad;
      record->FixLon[i] = -(3.25 + (i - 1) * 0.01) * DegToRad;
      record->FixTime[i] = *encodeDate(2003, 7, 15) + *encodeTime(9, 4 + i, 7);
    }
    record->FixCount = 10;
    result.FreeStart = 1, result.FreeTp1 = 2, result.FreeTp2 = 3, result.FreeTp3 = 4, result.FreeFinish = 5;
    result.FreeIsBest = true;
  }

  std::unique_ptr<FlightRecord> record = std::make_unique<FlightRecord>();
  OptimizationResult result;
};

TEST_F(ClaimFileTest, NamesFollowTheIgcFile) {
  EXPECT_EQ(proposedClaimFileName("D:\\Fluege\\35HXABC1.IGC", "c:\\eigene dateien"),
            "D:\\Fluege\\35HXABC1.olc");
  EXPECT_EQ(proposedClaimFileName("/home/pilot/.fluege/35HXABC1.igc", "x"), "/home/pilot/.fluege/35HXABC1.olc");
  EXPECT_EQ(proposedClaimFileName("", "/home/pilot/last.olc"), "/home/pilot/last.olc");
  EXPECT_EQ(proposedClaimFileName("", "/home/pilot"), "/home/pilot.olc");
  EXPECT_EQ(claimFileName("claim"), "claim.olc");
  EXPECT_EQ(claimFileName("CLAIM.OLC"), "CLAIM.OLC");
}

TEST_F(ClaimFileTest, LineCarriesFileDateTimesAndPoints) {
  record->TrackFileName = "D:\\Fluege\\35HXABC1.IGC";
  const auto line = claimLine(*record, result);
  ASSERT_TRUE(line);
  EXPECT_THAT(*line, StartsWith("OLCvnolc=&igcfn=35HXABC1&ind=100&flugzeug=2&ft=" +
                                std::to_string(37817 + 109205) + "&s0=09%3A05%3A07&w0bh=N&w0bg=47&w0bm=30&w0bmd=600"
                                "&w0lh=W&w0lg=3&w0lm=15&w0lmd=000&w1bh=N"));
  EXPECT_THAT(*line, HasSubstr("&w4lh=W&w4lg=3&w4lm=17&w4lmd=400&s4=09%3A09%3A07"));
  EXPECT_THAT(*line, EndsWith("&s4=09%3A09%3A07&ligcfn=D:\\Fluege\\35HXABC1"));
}

TEST_F(ClaimFileTest, FileNameFieldsTakeNothingFromDottedOrShortDirectoryParts) {
  record->TrackFileName = "/home/pilot/.local/2023.07/ab.igc";
  auto line = claimLine(*record, result);
  ASSERT_TRUE(line);
  EXPECT_THAT(*line, StartsWith("OLCvnolc=&igcfn=ab&ind="));
  EXPECT_THAT(*line, EndsWith("&ligcfn=/home/pilot/.local/2023.07/ab"));
  record->TrackFileName = "/srv/flights/flight-of-the-day.v2.igc";
  line = claimLine(*record, result);
  ASSERT_TRUE(line);
  EXPECT_THAT(*line, StartsWith("OLCvnolc=&igcfn=-the-day&ind="));
}

TEST_F(ClaimFileTest, FlightNeverSavedAsIgcHasNoFileName) {
  const auto line = claimLine(*record, result);
  ASSERT_TRUE(line);
  EXPECT_THAT(*line, Not(HasSubstr("&igcfn=")));
  EXPECT_THAT(*line, EndsWith("&ligcfn="));
}

TEST_F(ClaimFileTest, TiedKindsWriteBothRoutesWithTheLaterKindsTimes) {
  result.FlatStart = 6, result.FlatTp1 = 7, result.FlatTp2 = 8, result.FlatTp3 = 9, result.FlatFinish = 10;
  result.FlatIsBest = true;
  const auto line = claimLine(*record, result);
  ASSERT_TRUE(line);
  EXPECT_THAT(*line, HasSubstr("&s0=09%3A10%3A07&w0bh="));
  EXPECT_EQ(line->find("&w0bh=N&w0bg=47&w0bm=30&w0bmd=600"), line->find("&w0bh="));  // free first
  EXPECT_EQ(std::count(line->begin(), line->end(), '&') - 4, 2 * 5 * 8 + 2);
  EXPECT_THAT(*line, HasSubstr("&s4=09%3A14%3A07"));
}

TEST_F(ClaimFileTest, NothingToClaimWithoutARoute) {
  OptimizationResult none;
  none.FreeIsBest = none.FlatIsBest = none.FaiIsBest = true;
  EXPECT_FALSE(claimLine(*record, none));
}

TEST_F(ClaimFileTest, FileIsOneLineEndedByCrLf) {
  test::ScratchDir scratch;
  const std::string path = (scratch.path() / "claim.olc").string();
  ASSERT_FALSE(writeClaimFile(path, "OLCvnolc=&ind=100"));
  EXPECT_EQ(test::fileContent(path), "OLCvnolc=&ind=100\r\n");
  const auto failure = writeClaimFile((scratch.path() / "missing" / "x.olc").string(), "x");
  ASSERT_TRUE(failure);
  EXPECT_THAT(*failure, HasSubstr("kann nicht geschrieben werden"));
}

TEST_F(ClaimFileTest, AnyPositionOrTimeGivesFieldsInRange) {
  record->FixLat[1] = 1e39;
  record->FixLon[1] = std::numeric_limits<double>::quiet_NaN();
  record->FixTime[1] = std::numeric_limits<double>::quiet_NaN();
  record->FixTime[5] = 1e39;  // the finish, and the middle fix that names the date
  auto line = claimLine(*record, result);
  ASSERT_TRUE(line);
  EXPECT_THAT(*line, HasSubstr("&ft=" + std::to_string(2958465 + 109205) +
                               "&s0=00%3A00%3A00&w0bh=N&w0bg=90&w0bm=00&w0bmd=000"
                               "&w0lh=W&w0lg=0&w0lm=00&w0lmd=000&w1bh=N"));
  EXPECT_THAT(*line, HasSubstr("&s4=23%3A59%3A59&ligcfn="));
  record->FixTime[5] = -std::numeric_limits<double>::infinity();
  line = claimLine(*record, result);
  ASSERT_TRUE(line);
  EXPECT_THAT(*line, HasSubstr("&ft=" + std::to_string(-693593 + 109205) + "&s0="));
  EXPECT_THAT(*line, HasSubstr("&s4=00%3A00%3A00&ligcfn="));
}

}  // namespace
}  // namespace quorvanta
