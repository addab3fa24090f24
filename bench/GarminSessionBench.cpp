// What a received byte costs the user-interface thread: a 10,000-point D301
// track log fed to the Garmin session packet by packet (as the port hands
// them over), and byte by byte (the worst a slow line can do), with every
// answer the session asks for.
#include <benchmark/benchmark.h>

#include <string>
#include <variant>
#include <vector>

#include "devices/garmin/GarminSession.h"
#include "devices/sim/GarminScriptWriter.h"

namespace {

using quorvanta::SessionCommands;
using quorvanta::garmin::GarminSession;
namespace sim = quorvanta::sim;

std::vector<std::string> packets(const sim::GarminScript& script, sim::Trigger trigger) {
  std::vector<std::string> wires;
  for (const auto& packet : script.answers.at(trigger)) wires.push_back(packet.wire);
  return wires;
}

// Carries out the timers the session asks for at once, as if they had run
// out, and counts the bytes it would send.
std::size_t settle(GarminSession& session, SessionCommands commands) {
  std::size_t sent = 0;
  while (!commands.empty()) {
    SessionCommands next;
    for (const auto& command : commands) {
      if (const auto* write = std::get_if<quorvanta::WriteBytes>(&command)) {
        sent += write->bytes.size();
      } else if (const auto* timer = std::get_if<quorvanta::StartTimer>(&command)) {
        if (timer->timer != quorvanta::garmin::Watchdog && timer->timer != quorvanta::garmin::GiveUp) {
          next = session.timerFired(timer->timer);
        }
      }
    }
    commands = std::move(next);
  }
  return sent;
}

void receiveTrackLog(benchmark::State& state) {
  const bool byteByByte = state.range(0) != 0;
  const auto product = packets(sim::productScript(sim::TrackFormat::D301), sim::Trigger::productRequest());
  const auto trackLog = packets(
      sim::trackLogScript({{"Flug", sim::flightPath(10000, sim::garminTime(2026, 7, 14, 9, 0, 0))}},
                          sim::TrackFormat::D301),
      sim::Trigger::command(6));
  std::size_t bytes = 0;
  for (const auto& wire : trackLog) bytes += wire.size();
  for (auto _ : state) {
    state.PauseTiming();
    GarminSession session;
    settle(session, session.readProductData());
    for (const auto& wire : product) settle(session, session.received(wire));
    settle(session, session.readTracks());
    state.ResumeTiming();
    for (const auto& wire : trackLog) {
      if (byteByByte) {
        for (const char c : wire) settle(session, session.received(std::string_view(&c, 1)));
      } else {
        settle(session, session.received(wire));
      }
    }
    if (!session.trackLogComplete() || session.trackPointCount() != 10000) {
      state.SkipWithError("track log incomplete");
    }
  }
  state.counters["bytes"] = static_cast<double>(bytes);
  state.counters["ns/byte"] = benchmark::Counter(
      static_cast<double>(bytes),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK(receiveTrackLog)->ArgName("byteByByte")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
