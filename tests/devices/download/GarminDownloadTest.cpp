#include <chrono>
#include <cmath>
#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

#include "devices/garmin/GarminDownload.h"
#include "devices/sim/GarminScriptWriter.h"
#include "devices/sim/GarminUnit.h"
#include "devices/sim/PtyInstrument.h"
#include "flight/FileContent.h"
#include "flight/FlightRecord.h"
#include "flight/GRecord.h"
#include "flight/Geodesy.h"
#include "flight/IgcReader.h"
#include "support/PlausibleHeader.h"
#include "support/TestFiles.h"

namespace quorvanta {
namespace {

using namespace std::chrono_literals;
using sim::GarminUnit;
using sim::PtyInstrument;
using sim::TrackFormat;

const std::uint32_t FlightStart = sim::garminTime(2026, 7, 14, 10, 30, 0);
constexpr double WrittenAt = 46217.5;  // 14.07.2026 12:00 local

sim::GarminScript unitScript(const std::vector<sim::SimTrackPoint>& points) {
  sim::GarminScript script = sim::productScript(TrackFormat::D301);
  script.merge(sim::trackLogScript({{"Flug", points}}, TrackFormat::D301));
  return script;
}

// Is any descriptor of this process still open on the device?
bool deviceStillOpen(const std::string& device) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error)) {
    if (std::filesystem::read_symlink(entry.path(), error) == device) return true;
  }
  return false;
}

// Flips one byte of what the unit sends, once.
class FlippingUnit : public sim::InstrumentModel {
 public:
  FlippingUnit(GarminUnit& unit, std::size_t offset) : unit_(unit), offset_(offset) {}
  std::string received(std::string_view bytes) override {
    std::string out = unit_.received(bytes);
    if (offset_ >= sent_ && offset_ < sent_ + out.size()) out[offset_ - sent_] ^= 0x5A;
    sent_ += out.size();
    return out;
  }
  bool unplugged() const override { return unit_.unplugged(); }

 private:
  GarminUnit& unit_;
  std::size_t offset_;
  std::size_t sent_ = 0;
};

struct DownloadRun {
  DownloadOutcome outcome;
  std::chrono::steady_clock::duration took{};
  bool portLeftOpen = false;
  std::size_t bytesToHost = 0;
};

DownloadRun download(sim::InstrumentModel& unit, const std::filesystem::path& directory) {
  PtyInstrument instrument(unit);
  garmin::GarminDownloadRequest request;
  request.device = instrument.slavePath();
  request.header = test::plausibleHeader(directory);
  request.now = [] { return WrittenAt; };
  const auto start = std::chrono::steady_clock::now();
  DownloadRun run;
  run.outcome = garmin::downloadGarminFlight(request, [](std::string_view) {});
  run.took = std::chrono::steady_clock::now() - start;
  run.portLeftOpen = deviceStillOpen(instrument.slavePath());
  run.bytesToHost = instrument.bytesToHost();
  return run;
}

void expectFixesOf(const std::string& path, const std::vector<sim::SimTrackPoint>& points) {
  std::string content;
  ASSERT_FALSE(readWholeFile(path, content));
  EXPECT_EQ(verifyGRecord(content), GRecordCheck::Valid);
  auto record = std::make_unique<FlightRecord>();
  ReadOptions options;
  options.fromDownload = true;
  ASSERT_TRUE(readFlightFile(path, *record, options).ok());
  ASSERT_EQ(record->FixCount, static_cast<int>(points.size()));
  for (int i = 1; i <= record->FixCount; ++i) {
    const auto& point = points[static_cast<std::size_t>(i - 1)];
    EXPECT_NEAR(record->FixLat[i] / DegToRad, point.latDeg, 1e-5) << "fix " << i;
    EXPECT_NEAR(record->FixLon[i] / DegToRad, point.lonDeg, 1e-5) << "fix " << i;
    EXPECT_EQ(record->FixAlt[i], static_cast<int>(std::lround(point.altitude))) << "fix " << i;
  }
}

TEST(GarminDownload, WritesTheWholeTrackLogDespiteCorruptAndLostPackets) {
  const auto points = sim::flightPath(300, FlightStart);
  GarminUnit unit(unitScript(points));
  unit.corruptChecksum(sim::Trigger::command(6), 5);
  unit.dropPacket(sim::Trigger::command(6), 17);
  unit.corruptChecksum(sim::Trigger::productRequest(), 0);
  test::ScratchDir scratch;
  const DownloadRun run = download(unit, scratch.path());
  ASSERT_FALSE(run.outcome.error) << *run.outcome.error;
  EXPECT_EQ(std::filesystem::path(run.outcome.path).filename(), "67EERMU1.igc");
  EXPECT_FALSE(run.portLeftOpen);
  expectFixesOf(run.outcome.path, points);
}

TEST(GarminDownload, AStalledUnitEndsWithAMessageAndNoFile) {
  GarminUnit unit(unitScript(sim::flightPath(40, FlightStart)));
  unit.stallAfter(sim::Trigger::command(6), 10);
  test::ScratchDir scratch;
  const DownloadRun run = download(unit, scratch.path());
  ASSERT_TRUE(run.outcome.error);
  EXPECT_NE(run.outcome.error->find("antwortet nicht"), std::string::npos) << *run.outcome.error;
  EXPECT_LT(run.took, 15s);
  EXPECT_TRUE(std::filesystem::is_empty(scratch.path()));
  EXPECT_FALSE(run.portLeftOpen);
}

// The cable pulled at any moment: a message, no file, the port closed, and
// never a wait for more than the unit's silence allows.
TEST(GarminDownload, EveryTruncatedSessionEndsCleanly) {
  const auto points = sim::flightPath(12, FlightStart);
  GarminUnit uncut(unitScript(points));
  const test::ScratchDir uncutDirectory;
  const DownloadRun whole = download(uncut, uncutDirectory.path());
  ASSERT_FALSE(whole.outcome.error);
  const std::size_t total = whole.bytesToHost;
  ASSERT_GT(total, 100u);
  for (std::size_t cut = 1; cut < total; cut += std::max<std::size_t>(1, total / 40)) {
    GarminUnit unit(unitScript(points));
    unit.closeAfterBytes(cut);
    test::ScratchDir scratch;
    const DownloadRun run = download(unit, scratch.path());
    ASSERT_TRUE(run.outcome.error) << "cut at " << cut;
    EXPECT_FALSE(run.outcome.error->empty()) << "cut at " << cut;
    EXPECT_LT(run.took, 8s) << "cut at " << cut;
    EXPECT_TRUE(std::filesystem::is_empty(scratch.path())) << "cut at " << cut;
    EXPECT_FALSE(run.portLeftOpen) << "cut at " << cut;
  }
}

// A byte flipped in the track log is caught by the checksum or the framing
// and repaired by the repeat; whatever arrives is exact or nothing is written.
TEST(GarminDownload, FlippedBytesNeverGiveAWrongFile) {
  const auto points = sim::flightPath(12, FlightStart);
  const sim::GarminScript script = unitScript(points);
  const auto& trackLog = script.answers.at(sim::Trigger::command(6));
  std::size_t productBytes = 0;
  for (const auto& packet : script.answers.at(sim::Trigger::productRequest())) {
    productBytes += packet.wire.size();
  }
  // Past the product answer, three acknowledgements and the records packet.
  const std::size_t trackStart = productBytes + 3 * 8 + trackLog.at(0).wire.size();
  for (std::size_t flip = 0; flip < 3 * trackLog.at(1).wire.size(); flip += 2) {
    GarminUnit unit(script);
    FlippingUnit flipping(unit, trackStart + flip);
    test::ScratchDir scratch;
    const DownloadRun run = download(flipping, scratch.path());
    EXPECT_LT(run.took, 10s) << "flip at " << flip;
    EXPECT_FALSE(run.portLeftOpen) << "flip at " << flip;
    if (run.outcome.error) {
      EXPECT_TRUE(std::filesystem::is_empty(scratch.path())) << "flip at " << flip;
    } else {
      expectFixesOf(run.outcome.path, points);
    }
  }
}

}  // namespace
}  // namespace quorvanta
