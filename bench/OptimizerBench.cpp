// Optimization speed on a realistic 16,384-fix flight (thermals, glides, an
// FAI triangle) at every point budget, with the peak memory of the process,
// and the speed-up over the literal reference at budgets 1024 and 2048.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <sys/resource.h>

#include "optimize/Optimizer.h"
#include "optimize/ReferenceOptimizer.h"
#include "support/TrackGenerator.h"

namespace {

using quorvanta::FlightRecord;

const FlightRecord& benchmarkFlight() {
  static const std::unique_ptr<FlightRecord> record = [] {
    auto r = std::make_unique<FlightRecord>();
    const auto fixes = quorvanta::test::generateTrack(
        {.fixCount = quorvanta::MaxFixes, .seed = 2003, .triangleKm = 120, .intervalSeconds = 2});
    for (const auto& fix : fixes) {
      const int i = ++r->FixCount;
      r->FixLat[i] = fix.latDeg * quorvanta::DegToRad;
      r->FixLon[i] = fix.lonDeg * quorvanta::DegToRad;
      r->FixValid[i] = fix.valid;
      r->FixTime[i] = 37817 + fix.secondOfDay / 86400.0;
      r->FixAlt[i] = fix.pressureAlt;
    }
    return r;
  }();
  return *record;
}

double peakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024;
}

void optimize(benchmark::State& state) {
  const int budget = static_cast<int>(state.range(0));
  const FlightRecord& record = benchmarkFlight();
  quorvanta::OptimizationRun run;
  for (auto _ : state) {
    quorvanta::RunControl control;
    run = quorvanta::optimizeFlight(record, budget, control);
    benchmark::DoNotOptimize(run.result);
  }
  state.counters["table_s"] = run.tableSeconds;
  state.counters["search_s"] = run.searchSeconds;
  state.counters["refine_s"] = run.refineSeconds;
  state.counters["peak_MB"] = peakMegabytes();
}

void speedUpOverReference(benchmark::State& state) {
  const int budget = static_cast<int>(state.range(0));
  const FlightRecord& record = benchmarkFlight();
  using Clock = std::chrono::steady_clock;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    benchmark::DoNotOptimize(quorvanta::test::referenceOptimize(record, budget));
    const auto t1 = Clock::now();
    quorvanta::RunControl control;
    benchmark::DoNotOptimize(quorvanta::optimizeFlight(record, budget, control));
    const auto t2 = Clock::now();
    const double reference = std::chrono::duration<double>(t1 - t0).count();
    const double production = std::chrono::duration<double>(t2 - t1).count();
    state.counters["reference_s"] = reference;
    state.counters["production_s"] = production;
    state.counters["speed_up"] = reference / production;
  }
}

}  // namespace

BENCHMARK(optimize)->Arg(512)->Arg(1024)->Arg(2048)->Arg(4096)->Arg(8192)
    ->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(speedUpOverReference)->Arg(1024)->Arg(2048)->Unit(benchmark::kSecond)->Iterations(1)
    ->UseRealTime();

BENCHMARK_MAIN();
