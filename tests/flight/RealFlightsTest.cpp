#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "flight/DayCount.h"
#include "flight/IgcReader.h"
#include "support/TestFiles.h"

namespace quorvanta {
namespace {

// What the shared test data's notes say of each flight.
struct RealFlight {
  const char* file;
  int bRecords;
  int invalid;
  std::vector<std::string> extensions;  // as announced by the I record
  int headerLines;
  int otherLines;
  const char* firstFix;  // date and time of the first fix
};

void PrintTo(const RealFlight& flight, std::ostream* out) { *out << flight.file; }

const std::vector<RealFlight>& realFlights() {
  static const std::vector<RealFlight> flights = {
      {"xcscore_discontinuity.igc", 4708, 0, {"FXA", "SIU"}, 11, 34, nullptr},
      {"xcscore_tri.igc", 4514, 0, {"TAS", "SIU"}, 16, 4, nullptr},
      {"xcscore_zigzag.igc", 17002, 0, {"TAS", "SIU"}, 16, 4, nullptr},
      {"xcscore_record_de_france.igc", 7292, 0, {}, 9, 3, "2019-05-12"},
      {"xcscore_trifai-xcontest-362.70.igc", 32315, 1, {"FXA", "GSP", "TRT", "VAR", "ACZ"}, 28,
       3225, "2019-08-30"},
      {"xcscore_line.igc", 8528, 0, {}, 9, 3, nullptr},
      {"xcscore_dup-fixes.igc", 65924, 0, {}, 4, 2, "2019-06-21"},
      {"xcscore_trifai-xcontest-189.65.igc", 17817, 34, {"LAD", "LOD"}, 25, 67, nullptr},
      {"flaretiming_Gordon_Rigg.20180103-111847.6433.8.igc", 29919, 0, {}, 14, 101, "2018-01-02"},
      {"flaretiming_T4.kannard.126.IGC", 2187, 0, {"TAS"}, 19, 6, nullptr},
      {"flaretiming_Brad-Porter.20180104-095852.36822.34.igc", 3519, 0, {}, 9, 3, nullptr},
      {"flaretiming_Scott-Barrett.20170409-071936.7601.19.igc", 9722, 0, {}, 9, 3, nullptr},
      {"xcsoar_01lz1hq1.igc", 4960, 8, {"IAS", "ENL"}, 25, 2044, "2010-01-21"},
      {"ivmaxxc_27_7.igc", 4152, 37, {"TAS"}, 12, 4, nullptr},
      {"ivmaxxc_47_2.igc", 9314, 10, {"FXA", "SIU", "TAS"}, 14, 2455, "2015-07-25"},
      {"igclib_flight_with_middle_landing.igc", 14819, 0, {}, 7, 0, nullptr},
      {"aerofiles_skytraxx21-2023-04-15.igc", 2008, 0, {}, 8, 9, "2023-04-15"},
  };
  return flights;
}

class RealFlightTest : public ::testing::TestWithParam<RealFlight> {};

TEST_P(RealFlightTest, ReadsAsTheNotesDescribeIt) {
  const RealFlight& flight = GetParam();
  auto record = std::make_unique<FlightRecord>();
  const auto result = readFlightFile(test::realFlight(flight.file).string(), *record);
  ASSERT_TRUE(result.ok()) << result.error->message;

  EXPECT_EQ(record->FixCount, std::min(flight.bRecords, MaxFixes));
  EXPECT_EQ(record->DroppedFixCount, std::max(flight.bRecords - MaxFixes, 0));
  EXPECT_EQ(record->InvalidFixCount, flight.invalid);
  EXPECT_EQ(record->HeaderLineCount, std::min(flight.headerLines, MaxHeaderLines));
  EXPECT_EQ(record->DroppedHeaderLineCount, std::max(flight.headerLines - MaxHeaderLines, 0));
  EXPECT_EQ(record->OtherLineCount, std::min(flight.otherLines, MaxOtherLines));
  EXPECT_EQ(record->DroppedOtherLineCount, std::max(flight.otherLines - MaxOtherLines, 0));
  const auto kept = std::min<std::size_t>(flight.extensions.size(), MaxExtensions);
  ASSERT_EQ(record->ExtCount, static_cast<int>(kept));
  for (std::size_t k = 0; k < kept; ++k) {
    EXPECT_EQ(record->ExtCode[static_cast<int>(k + 1)], flight.extensions[k]);
  }
  if (flight.firstFix) {
    EXPECT_EQ(isoDateTimeText(record->FixTime[1]).substr(0, 10), flight.firstFix);
  }
  EXPECT_EQ(result.labels[0].text, std::to_string(record->FixCount) + " Track-Punkte aus Datei gelesen");
  EXPECT_GT(record->MaxAlt, 0);
  EXPECT_GT(record->MaxSpeed, 0);
}

INSTANTIATE_TEST_SUITE_P(SharedFlights, RealFlightTest, ::testing::ValuesIn(realFlights()),
                         [](const auto& info) { return test::testNameOf(info.param.file); });

TEST(RealFlights, LfOnlyFlightReadsLikeItsCrLfCopy) {
  const auto original = test::realFlight("flaretiming_T4.kannard.126.IGC");
  std::string crlf;
  for (char c : test::fileContent(original)) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  test::ScratchDir scratch;
  auto fromLf = std::make_unique<FlightRecord>();
  auto fromCrLf = std::make_unique<FlightRecord>();
  ASSERT_TRUE(readFlightFile(original.string(), *fromLf).ok());
  ASSERT_TRUE(readFlightFile(scratch.write("copy.igc", crlf), *fromCrLf).ok());
  ASSERT_EQ(fromLf->FixCount, fromCrLf->FixCount);
  for (int i = 1; i <= fromLf->FixCount; ++i) {
    ASSERT_EQ(fromLf->FixText[i], fromCrLf->FixText[i]);
    ASSERT_EQ(fromLf->FixTime[i], fromCrLf->FixTime[i]);
    ASSERT_EQ(fromLf->FixExt[1][i], fromCrLf->FixExt[1][i]);
  }
  EXPECT_EQ(fromLf->HeaderLines[1], fromCrLf->HeaderLines[1]);
  EXPECT_EQ(fromLf->FlightTitle, fromCrLf->FlightTitle);
}

}  // namespace
}  // namespace quorvanta
