// Exact contest scoring of a whole flight: the time of each rule set on a
// generated 100,000-fix flight round a 60 km FAI triangle, every fix read
// as the command-line tool reads it, and the process's peak memory (the
// target is under 200 MB).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "optimize/exact/ExactSolver.h"
#include "support/TrackGenerator.h"

namespace {

using namespace quorvanta;

constexpr int Fixes = 100000;

const std::string& flightPath() {
  static const std::string path = [] {
    const auto file = std::filesystem::temp_directory_path() / "quorvanta-bench-exact.igc";
    std::ofstream(file, std::ios::binary)
        << test::igcFile(test::generateTrack({.fixCount = Fixes, .seed = 42}));
    return file.string();
  }();
  return path;
}

double peakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024;  // ru_maxrss is in KiB
}

void scoreWholeFlight(benchmark::State& state) {
  const exact::RuleSet& rules = exact::ruleSets()[static_cast<std::size_t>(state.range(0))];
  state.SetLabel(rules.id);
  int proven = 0;
  for (auto _ : state) {
    const exact::ScoringTrackRead read = exact::readScoringTrack(flightPath());
    if (read.error) state.SkipWithError(read.error->c_str());
    RunControl control;
    const exact::ScoreResult result = exact::scoreTrack(read.track, rules, control);
    proven = 0;
    for (const exact::KindResult& kind : result.kinds) proven += kind.proven ? 1 : 0;
    benchmark::DoNotOptimize(result.best);
  }
  state.counters["kinds"] = static_cast<double>(rules.kinds.size());
  state.counters["proven"] = proven;
  state.counters["peak_MB"] = peakMegabytes();
}

}  // namespace

BENCHMARK(scoreWholeFlight)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
