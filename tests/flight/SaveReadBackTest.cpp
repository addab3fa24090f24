#include <algorithm>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "flight/Barograph.h"
#include "flight/DayCount.h"
#include "flight/Geodesy.h"
#include "flight/IgcReader.h"
#include "flight/IgcWriter.h"
#include "support/SameFlight.h"
#include "support/TestFiles.h"
#include "support/TrackGenerator.h"

namespace quorvanta {
namespace {

constexpr const char* SensorLine = "HFPRSPRESSALTSENSOR:Flytec 4030, S/N 1234";

struct Loaded {
  std::unique_ptr<FlightRecord> record = std::make_unique<FlightRecord>();
  ReadResult result;
};

Loaded load(const std::string& path) {
  Loaded loaded;
  loaded.result = readFlightFile(path, *loaded.record);
  return loaded;
}

// The fixes and header values of `original` in `back`; a CSV track's
// positions only to the written precision. A merged barogram's sensor line
// is the one header line added.
void expectSameFlight(const FlightRecord& original, const std::vector<std::string>& titles,
                      const Loaded& back) {
  const auto difference =
      test::flightDifference(original, titles, *back.record, back.result.flightTitles, SensorLine);
  EXPECT_FALSE(difference) << *difference;
}

// A barogram over all fix times, sample k at 300 + 7k mod 3000 metres.
void mergeBarogram(FlightRecord& record) {
  auto buffer = std::make_unique<BarographBuffer>();
  double first = record.FixTime[1], last = first;
  for (int i = 2; i <= record.FixCount; ++i) {
    first = std::min(first, record.FixTime[i]);
    last = std::max(last, record.FixTime[i]);
  }
  buffer->BaroCount = MaxBaroSamples;
  buffer->BaroInterval = std::max(last - first, 1.0 / 86400) / (MaxBaroSamples - 4);
  buffer->BaroStart = first - 2 * buffer->BaroInterval;
  for (int k = 1; k <= MaxBaroSamples; ++k) {
    buffer->BaroAlt[k] = static_cast<std::int16_t>(300 + 7 * k % 3000);
  }
  BaroZeiten(record, *buffer, 0);
  record.ExtraHeaderLine = SensorLine;
}

std::string csvText(const FlightRecord& record) {
  std::string text;
  for (int i = 1; i <= record.FixCount; ++i) {
    const DateTimeParts t = dateTimeParts(record.FixTime[i]);
    char line[160];
    std::snprintf(line, sizeof line, "T,x,%.9f,%.9f,%d,%d,%d,%d,%d,%d,%d\r\n",
                  record.FixLat[i] / DegToRad, record.FixLon[i] / DegToRad, t.month, t.day,
                  t.year, t.hour, t.minute, t.second, record.FixAlt[i]);
    text += line;
  }
  return text;
}

// Saves the flight, reads the file back and expects the same flight; a
// second save of what was read writes the same file.
void expectReadsBack(const std::string& source, bool withBarogram) {
  test::ScratchDir scratch;
  Loaded original = load(source);
  ASSERT_TRUE(original.result.ok()) << original.result.error->message;
  if (withBarogram) mergeBarogram(*original.record);
  const std::string path = (scratch.path() / "saved.igc").string();
  const SaveOutcome saved = saveFlight(path, *original.record);
  ASSERT_FALSE(saved.error) << *saved.error;
  const Loaded back = load(path);
  ASSERT_TRUE(back.result.ok()) << back.result.error->message;
  expectSameFlight(*original.record, original.result.flightTitles, back);
  if (withBarogram) return;  // its sensor line may push a header line past the capacity
  const std::string again = (scratch.path() / "again.igc").string();
  ASSERT_FALSE(saveFlight(again, *back.record).error);
  EXPECT_TRUE(test::fileContent(again) == test::fileContent(path)) << "the second save differs";
}

class SharedFlightReadBackTest : public ::testing::TestWithParam<std::string> {};

TEST_P(SharedFlightReadBackTest, SavedFlightReadsBackAsItWas) {
  expectReadsBack(test::realFlight(GetParam()).string(), false);
}

TEST_P(SharedFlightReadBackTest, SavedFlightWithBarogramReadsBackAsItWas) {
  expectReadsBack(test::realFlight(GetParam()).string(), true);
}

// The same fixes as a comma-separated track, with and without a barogram.
TEST_P(SharedFlightReadBackTest, SavedCsvTrackReadsBackAsItWas) {
  const Loaded flight = load(test::realFlight(GetParam()).string());
  ASSERT_TRUE(flight.result.ok());
  test::ScratchDir scratch;
  const std::string csv = scratch.write("track.csv", csvText(*flight.record));
  expectReadsBack(csv, false);
  expectReadsBack(csv, true);
}

INSTANTIATE_TEST_SUITE_P(Shared, SharedFlightReadBackTest,
                         ::testing::ValuesIn(test::sharedFlightNames()),
                         [](const auto& info) { return test::testNameOf(info.param); });

// A generated flight through midnight with header lines among its fixes:
// date lines, I records of up to three extensions, pilot and site lines;
// every B record carries nine digits for the extensions. At most 20 header
// lines, so that the file is kept whole.
std::string flightWithLinesAmongFixes(unsigned seed) {
  std::mt19937 random(seed);
  const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const auto fixes = test::generateTrack(
      {.fixCount = 400, .seed = seed, .intervalSeconds = 150, .startSecondOfDay = 18 * 3600});
  std::string text = "AXXXGEN\r\nHFDTE150703\r\nHFPLTPILOT:Gen\r\n";
  int headerLines = 3;
  const auto addLine = [&](const std::string& line) {
    text += line + "\r\n";
    ++headerLines;
  };
  for (const auto& fix : fixes) {
    if (headerLines < MaxHeaderLines && pick(25) == 0) {
      char line[48];
      switch (pick(4)) {
        case 0:
          std::snprintf(line, sizeof line, "HFDTE%02d%02d%02d", 1 + pick(28), 1 + pick(12),
                        3 + pick(7));
          break;
        case 1: {
          const int count = pick(4);
          std::snprintf(line, sizeof line, "I%02d", count);
          for (int k = 0, column = 36; k < count; ++k) {
            const int length = 1 + pick(3);
            std::snprintf(line + 3 + 7 * k, sizeof line - 3 - 7 * static_cast<std::size_t>(k),
                          "%02d%02d%s", column, column + length - 1, k == 1 ? "FXA" : "ENL");
            column += length;
          }
          break;
        }
        case 2:
          std::snprintf(line, sizeof line, "HFPLTPILOT:Pilot %d", pick(100));
          break;
        default:
          std::snprintf(line, sizeof line, "HOSITSite %d", pick(100));
      }
      addLine(line);
    }
    text += test::bRecord(fix);
    for (int k = 0; k < 9; ++k) text += static_cast<char>('0' + pick(10));
    text += "\r\n";
  }
  return text;
}

TEST(GeneratedFlightReadBackTest, HeaderLinesAmongTheFixesStayWhereTheyWere) {
  for (unsigned seed = 1; seed <= 30; ++seed) {
    SCOPED_TRACE(seed);
    test::ScratchDir scratch;
    const std::string content = flightWithLinesAmongFixes(seed);
    const std::string source = scratch.write("generated.igc", content);
    expectReadsBack(source, false);
    expectReadsBack(source, true);
    Loaded flight = load(source);
    ASSERT_TRUE(flight.result.ok());
    EXPECT_TRUE(flightFileText(*flight.record) == content) << "the saved file differs";
  }
}

// Found by fuzz_flight_file: a pilot line after the 20 header lines the
// record keeps named the flight, but the saved file had no room for it.
TEST(LongHeaderReadBackTest, PilotLineBeyondTheHeaderCapacity) {
  std::string text = "AXXX\r\nHFDTE150703\r\n";
  for (int k = 1; k <= 18; ++k) text += "HOSITSite " + std::to_string(k) + "\r\n";
  text += "B1005074730000N00806000EA0123401300\r\nHFPLTPILOT:Late\r\n"
          "B1005174730000N00806000EA0123401300\r\n";
  test::ScratchDir scratch;
  expectReadsBack(scratch.write("long-header.igc", text), false);
}

}  // namespace
}  // namespace quorvanta
