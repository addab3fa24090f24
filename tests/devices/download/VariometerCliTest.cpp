#include <chrono>
#include <filesystem>
#include <future>
#include <sstream>
#include <thread>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "devices/sim/FlytecVario.h"
#include "devices/sim/IqVario.h"
#include "devices/sim/PtyInstrument.h"
#include "support/CliRunner.h"
#include "support/TestFiles.h"

namespace quorvanta {
namespace {

using ::testing::HasSubstr;
using sim::VarioFault;
using Clock = std::chrono::steady_clock;

// Its HF lines are followed by an I record before the first fix, so the
// writer has a place for the sensor line (a flight with only HF lines up to
// the first fix gets none). Flown on 29.08.2015 from 06:01:51 to 10:42:56.
const std::string Flight = "ivmaxxc_27_7.igc";

struct Fix {
  int second;    // of the day
  int altitude;  // columns 26-30
};

std::vector<Fix> fixesOf(const std::string& igcText) {
  std::vector<Fix> fixes;
  std::istringstream lines(igcText);
  for (std::string line; std::getline(lines, line);) {
    if (!line.starts_with('B') || line.size() < 35) continue;
    const auto number = [&line](std::size_t at, std::size_t length) {
      return std::stoi(line.substr(at, length));
    };
    fixes.push_back({number(1, 2) * 3600 + number(3, 2) * 60 + number(5, 2), number(25, 5)});
  }
  return fixes;
}

// A barogram of one value a second from a whole minute before the first fix
// to two minutes past the last: the value `v` seconds after its start reads
// 1000 + v metres.
class VariometerCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    flight = fixesOf(test::fileContent(test::realFlight(Flight)));
    ASSERT_GT(flight.size(), 4000u);
    start = flight.front().second / 60 * 60 - 60;
    sampleCount = flight.back().second - start + 120;
  }

  sim::IqDumpContent iqFlight() const {
    sim::IqDumpContent c{.date = 2908, .year = 2015, .scanSeconds = 1};
    c.start = start / 3600 * 100 + start / 60 % 60;
    c.samples.clear();
    for (int k = 1; k <= sampleCount; ++k) c.samples.push_back({1000 + k, 40});
    return c;
  }

  // A short flight of another day, then the real one's barogram.
  std::vector<sim::FlytecFlight> flytecFlights() const {
    sim::FlytecFlight real{.year = 2015, .month = 8, .day = 29, .hour = start / 3600,
                           .minute = start / 60 % 60, .intervalCode = 0, .speedSensor = false,
                           .altitudes = {}};
    for (int k = 1; k <= sampleCount; ++k) real.altitudes.push_back(1000 + k);
    return {{.year = 2015, .month = 8, .day = 28, .hour = 9, .minute = 0, .intervalCode = 1,
             .speedSensor = true, .altitudes = std::vector<int>(100, 700)},
            real};
  }

  std::string arguments(const std::string& instrument, const std::string& device,
                        const std::string& options) const {
    std::string text = "download ";
    text += instrument + " --device " + device;
    text += " --flight ";
    text += test::quotedPath(test::realFlight(Flight));
    return text + " -o " + test::quotedPath(output()) + options;
  }
  std::filesystem::path output() const { return out.path() / "merged.igc"; }

  // Every fix that lies inside the barogram once shifted by `shift` seconds
  // has the barogram's altitude; the sensor line follows the first HF run.
  void expectMerged(int shift, const std::string& sensorLine) const {
    const std::string text = test::fileContent(output());
    std::string around = "HFFTYFRTYPE:BRAUNIGER,COMPETINO+\r\n";
    around += sensorLine + "\r\nI013638TAS\r\n";
    EXPECT_THAT(text, HasSubstr(around));
    const std::vector<Fix> written = fixesOf(text);
    ASSERT_EQ(written.size(), flight.size());
    std::size_t checked = 0;
    for (std::size_t i = 0; i < written.size(); ++i) {
      ASSERT_EQ(written[i].second, flight[i].second);
      const int v = written[i].second - start + shift;
      if (v < 1 || v >= sampleCount) continue;  // the nearer end's altitude
      ASSERT_EQ(written[i].altitude, 1000 + v) << "fix " << i + 1 << ", shift " << shift;
      ++checked;
    }
    EXPECT_GE(checked + 1, written.size());
  }

  test::ScratchDir out;
  std::vector<Fix> flight;
  int start = 0;  // second of the day
  int sampleCount = 0;
};

TEST_F(VariometerCliTest, IqDumpSentWhileTheCommandWaitsIsMerged) {
  sim::IqVario vario(iqFlight(), VarioFault::None);
  sim::PtyInstrument line(vario);
  const auto errFile = out.path() / "stderr.txt";
  auto running = std::async(std::launch::async, [&] {
    return test::runCli(arguments("iq", line.slavePath(), " --wait 20"), errFile);
  });
  // The key is held once the port is open: what comes before is lost.
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  while (test::fileContent(errFile).find("Warte auf die Daten") == std::string::npos &&
         Clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  vario.pressSend(line);
  const test::CliRun run = running.get();
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, output().string() + "\n");
  EXPECT_THAT(run.err, HasSubstr("Barograf Nr.: 4711"));
  expectMerged(0, "HFPRSPRESSUREALTSENSOR: Bräuniger IQ-Serie, S/N 4711");
}

TEST_F(VariometerCliTest, FlytecLastFlightIsMergedWithEachTimeShift) {
  sim::FlytecVario vario(flytecFlights(), 3141, VarioFault::None);
  sim::PtyInstrument line(vario);
  const int first = flight.front().second - start, last = flight.back().second - start;
  const struct {
    const char* sync;
    int shift;
  } cases[] = {{"none", 0}, {"+00:01:00", 60}, {"-00:00:30", -30},
               {"start", -first}, {"end", sampleCount - last}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sync);
    const test::CliRun run =
        test::runCli(arguments("flytec", line.slavePath(), std::string(" --sync ") + c.sync));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.err, HasSubstr("Flug 2 übernommen."));
    expectMerged(c.shift, "HFPRSPRESSUREALTSENSOR: Flytec 40XX, S/N 3141");
  }
}

TEST_F(VariometerCliTest, FlytecFlightBeyondTheStoredOnesIsRefused) {
  sim::FlytecVario vario(flytecFlights(), 3141, VarioFault::None);
  sim::PtyInstrument line(vario);
  const test::CliRun run = test::runCli(arguments("flytec", line.slavePath(), " --track 3"));
  EXPECT_EQ(run.status, 1);
  EXPECT_THAT(run.err, HasSubstr("Flug 3 gibt es nicht; das Gerät hat 2 Flüge gespeichert."));
  EXPECT_FALSE(std::filesystem::exists(output()));
}

TEST_F(VariometerCliTest, SilentIqFailsOnceTheWaitIsOver) {
  sim::IqVario vario(iqFlight(), VarioFault::Silent);
  sim::PtyInstrument line(vario);
  const auto began = Clock::now();
  const test::CliRun run = test::runCli(arguments("iq", line.slavePath(), " --wait 1"));
  EXPECT_LT(Clock::now() - began, std::chrono::seconds(4));
  EXPECT_EQ(run.status, 1);
  EXPECT_THAT(run.err, HasSubstr("Das Vario hat innerhalb von einer Sekunde keine Daten gesendet."));
  EXPECT_TRUE(run.out.empty());
  EXPECT_FALSE(std::filesystem::exists(output()));
}

TEST_F(VariometerCliTest, UsageErrorsExitWithTwoBeforeThePortIsOpened) {
  const std::string device = (out.path() / "ttyUSB7").string();
  const std::string iq = std::string("download iq --device ") + device;
  for (const std::string& wrong : {
           iq + " --flight F.igc",
           iq + " -o OUT.igc",
           arguments("iq", device, " --sync later"),
           arguments("iq", device, " --sync +1:00"),
           arguments("iq", device, " --wait 0"),
           arguments("iq", device, " --track 1"),
           arguments("flytec", device, " --track -1"),
           arguments("flytec", device, " --track zwei"),
           arguments("flytec", device, " --wait 5"),
       }) {
    const test::CliRun run = test::runCli(wrong);
    EXPECT_EQ(run.status, 2) << wrong;
    EXPECT_THAT(run.err, HasSubstr("Aufruf:")) << wrong;
  }
  EXPECT_FALSE(std::filesystem::exists(output()));
}

}  // namespace
}  // namespace quorvanta
