#include "flight/Barograph.h"

#include <memory>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "flight/DayCount.h"
#include "flight/IgcReader.h"
#include "support/TestFiles.h"
#include "support/TrackGenerator.h"

namespace quorvanta {
namespace {

using ::testing::HasSubstr;

constexpr double Second = 1.0 / 86400;

using test::cmpFile;

double barogramStart() { return *encodeDate(2003, 7, 15) + *encodeTime(10, 0, 0); }

struct MergeTest : ::testing::Test {
  void SetUp() override {
    ASSERT_FALSE(parseBarograph(cmpFile({90, 100, 110, 120, 130}), *buffer));
  }
  void fixesAt(const std::vector<double>& secondsAfterStart) {
    record->FixCount = static_cast<int>(secondsAfterStart.size());
    for (int i = 1; i <= record->FixCount; ++i) {
      record->FixTime[i] = barogramStart() + secondsAfterStart[static_cast<std::size_t>(i - 1)] * Second;
      record->FixAlt[i] = 7;
    }
  }
  std::vector<int> alts() const {
    std::vector<int> result;
    for (int i = 1; i <= record->FixCount; ++i) result.push_back(record->FixAlt[i]);
    return result;
  }
  std::unique_ptr<BarographBuffer> buffer = std::make_unique<BarographBuffer>();
  std::unique_ptr<FlightRecord> record = std::make_unique<FlightRecord>();
};

TEST_F(MergeTest, FileGivesSamplesStartAndInterval) {
  EXPECT_EQ(buffer->BaroCount, 5);
  EXPECT_EQ(buffer->BaroAlt[1], 90);
  EXPECT_EQ(buffer->BaroAlt[5], 130);
  EXPECT_DOUBLE_EQ(buffer->BaroStart, barogramStart());
  EXPECT_DOUBLE_EQ(buffer->BaroInterval, 10 * Second);

  auto lfOnly = std::make_unique<BarographBuffer>();
  ASSERT_FALSE(parseBarograph(cmpFile({-12, 3000}, {.intervalSeconds = 4, .lineEnd = "\n"}), *lfOnly));
  EXPECT_EQ(lfOnly->BaroAlt[1], -12);
  EXPECT_DOUBLE_EQ(lfOnly->BaroInterval, 4 * Second);
}

TEST_F(MergeTest, InterpolatesAndFillsBothEnds) {
  // Sample j stands at BaroStart + j intervals.
  fixesAt({-30, 5, 25, 30, 39, 45, 200});
  BaroZeiten(*record, *buffer, 0);
  EXPECT_EQ(alts(), (std::vector<int>{105, 105, 105, 110, 119, 125, 125}));
  EXPECT_EQ(record->MaxAlt, 125);
  EXPECT_EQ(record->MinAlt, 105);
}

TEST_F(MergeTest, EveryMergeStartsAgainFromTheBarogram) {
  fixesAt({20, 30});
  BaroZeiten(*record, *buffer, 10 * Second);
  EXPECT_EQ(alts(), (std::vector<int>{110, 120}));
  BaroZeiten(*record, *buffer, 0);
  EXPECT_EQ(alts(), (std::vector<int>{100, 110}));
}

TEST_F(MergeTest, NoOverlapLeavesEveryAltitudeZero) {
  fixesAt({1000, 2000});
  BaroZeiten(*record, *buffer, 0);
  EXPECT_EQ(alts(), (std::vector<int>{0, 0}));
  EXPECT_EQ(record->MaxAlt, 0);
  EXPECT_EQ(record->MinAlt, 100000);

  auto none = std::make_unique<BarographBuffer>();
  fixesAt({10});
  BaroZeiten(*record, *none, 0);  // no barogram: nothing to merge
  EXPECT_EQ(alts(), (std::vector<int>{7}));
}

TEST_F(MergeTest, TimeShiftChoices) {
  fixesAt({-100, -90, -80});
  EXPECT_EQ(baroOffsetFor(TimeShift::AsRecorded, *record, *buffer, 0.5), 0);
  EXPECT_EQ(baroOffsetFor(TimeShift::Entered, *record, *buffer, 0.5), 0.5);
  EXPECT_NEAR(baroOffsetFor(TimeShift::SyncAtSwitchOn, *record, *buffer, 0), 100 * Second, 1e-9);
  EXPECT_NEAR(baroOffsetFor(TimeShift::SyncAtSwitchOff, *record, *buffer, 0), 130 * Second, 1e-9);

  // Switch-on puts the first fix on sample 0: it takes the first merged altitude.
  BaroZeiten(*record, *buffer, baroOffsetFor(TimeShift::SyncAtSwitchOn, *record, *buffer, 0));
  EXPECT_EQ(alts(), (std::vector<int>{90, 90, 100}));
  // Switch-off puts the last fix one interval past the last sample.
  BaroZeiten(*record, *buffer, baroOffsetFor(TimeShift::SyncAtSwitchOff, *record, *buffer, 0));
  EXPECT_EQ(alts(), (std::vector<int>{110, 120, 120}));

  const double minute = *encodeTime(0, 1, 0);
  EXPECT_DOUBLE_EQ(enteredBaroOffset(minute, false), minute);   // "Barozeit geht vor"
  EXPECT_DOUBLE_EQ(enteredBaroOffset(minute, true), -minute);   // "Barozeit geht nach"
}

TEST(Barograph, ClockAheadByOneMinuteIsUndoneByTheEnteredShift) {
  test::TrackOptions options;
  options.fixCount = 600;
  const auto fixes = test::generateTrack(options);
  const test::ScratchDir scratch;
  auto record = std::make_unique<FlightRecord>();
  ASSERT_TRUE(readFlightFile(scratch.write("f.igc", test::igcFile(fixes)), *record).ok());

  // The barograph logged the same altitudes each second, its clock a minute
  // ahead; its sample j stands for the time start + j seconds.
  std::vector<int> alts;
  for (const auto& fix : fixes) alts.push_back(fix.pressureAlt + 1000);
  alts.push_back(alts.back());  // the last fix needs a sample after it
  const std::string text = cmpFile(alts, {.minute = 1, .intervalSeconds = 1});
  auto buffer = std::make_unique<BarographBuffer>();
  ASSERT_FALSE(parseBarograph(text, *buffer));
  buffer->BaroStart -= Second;

  BaroZeiten(*record, *buffer, enteredBaroOffset(*encodeTime(0, 1, 0), false));
  for (int i = 1; i <= record->FixCount; ++i) {
    ASSERT_EQ(record->FixAlt[i], fixes[static_cast<std::size_t>(i - 1)].pressureAlt + 1000) << i;
  }
}

TEST(Barograph, FaultyFilesAreRefusedAndLeaveTheBufferAsItWas) {
  auto buffer = std::make_unique<BarographBuffer>();
  ASSERT_FALSE(parseBarograph(cmpFile({500, 600}), *buffer));
  const auto refused = [&](const std::string& text) {
    const auto failure = parseBarograph(text, *buffer);
    EXPECT_EQ(buffer->BaroCount, 2);
    EXPECT_EQ(buffer->BaroAlt[1], 500);
    return failure.value_or("");
  };
  EXPECT_THAT(refused(cmpFile({500, 600}, {.intervalSeconds = 60})), HasSubstr("Messintervall muss 1 bis 59 s"));
  EXPECT_THAT(refused(cmpFile({500, 600}, {.intervalSeconds = 0})), HasSubstr("Messintervall"));
  EXPECT_THAT(refused("5x0 km\r\nEND\r\n"), HasSubstr("Fehler in Zeile 1: die Höhe ist keine"));
  EXPECT_THAT(refused("40000 km\r\n"), HasSubstr("außerhalb"));
  EXPECT_THAT(refused("500 a\r\n   \r\n"), HasSubstr("Fehler in Zeile 2: die Höhe ist keine"));
  EXPECT_THAT(refused("500 a\r\n600 b\r\nEND\r\n"), HasSubstr("endet vor dem Datum"));
  EXPECT_THAT(refused("500 a\r\nEND\r\n"), HasSubstr("weniger als zwei"));
  EXPECT_THAT(refused(cmpFile({500, 600}, {.month = 13})), HasSubstr("ungültiges Datum"));
  EXPECT_THAT(refused(cmpFile({500, 600}, {.hour = 24})), HasSubstr("ungültige Uhrzeit"));
  EXPECT_THAT(refused(cmpFile(std::vector<int>(MaxBaroSamples + 1, 500))),
              HasSubstr("mehr als 22000 Höhenwerte"));
  EXPECT_FALSE(parseBarograph(cmpFile(std::vector<int>(MaxBaroSamples, 500)), *buffer));
  EXPECT_EQ(buffer->BaroCount, MaxBaroSamples);

  const test::ScratchDir scratch;
  EXPECT_THAT(readBarographFile((scratch.path() / "none.cmp").string(), *buffer).value_or(""),
              HasSubstr("Datei nicht gefunden"));
  EXPECT_FALSE(readBarographFile(scratch.write("b.cmp", cmpFile({1, 2})), *buffer));
  EXPECT_EQ(buffer->BaroCount, 2);
}

}  // namespace
}  // namespace quorvanta
