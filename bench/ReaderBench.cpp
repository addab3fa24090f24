// Reading speed: a full 16,384-fix flight, and a 100,000-fix flight that
// makes the reader thin 83,616 times.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "flight/IgcReader.h"
#include "support/TrackGenerator.h"

namespace {

std::string writeFlight(int fixes) {
  const auto path = std::filesystem::temp_directory_path() /
                    ("quorvanta-bench-" + std::to_string(fixes) + ".igc");
  std::ofstream(path, std::ios::binary)
      << quorvanta::test::igcFile(quorvanta::test::generateTrack({.fixCount = fixes, .seed = 42}));
  return path.string();
}

void readFlight(benchmark::State& state) {
  const int fixes = static_cast<int>(state.range(0));
  const std::string path = writeFlight(fixes);
  auto record = std::make_unique<quorvanta::FlightRecord>();
  for (auto _ : state) {
    const auto result = quorvanta::readFlightFile(path, *record);
    if (!result.ok()) state.SkipWithError(result.error->message.c_str());
    benchmark::DoNotOptimize(record->FixCount);
  }
  state.counters["dropped"] = record->DroppedFixCount;
  state.counters["fixes/s"] =
      benchmark::Counter(static_cast<double>(fixes), benchmark::Counter::kIsIterationInvariantRate);
  std::filesystem::remove(path);
}

}  // namespace

BENCHMARK(readFlight)->Arg(16384)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
