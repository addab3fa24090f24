// How an optimization run's wall-clock time splits into its phases at the 2K
// budget, flight by flight over the shared real flights, and the mean share
// of each phase over the flights that are refined: the figures behind
// PhaseShares (optimize/RunProgress.h). Each flight runs `repetitions` times
// (default 3); the fastest run counts, as the least disturbed one.
//   quorvanta_phase_bench [repetitions]
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "flight/IgcReader.h"
#include "optimize/Optimizer.h"
#include "support/TestFiles.h"

namespace {

using namespace quorvanta;
using Clock = std::chrono::steady_clock;
using PhaseSeconds = std::array<double, RunPhaseCount>;

constexpr std::array<const char*, RunPhaseCount> PhaseNames = {"table",      "search",
                                                               "refine_flat", "refine_fai",
                                                               "refine_free", "closing"};

struct Timing {
  PhaseSeconds seconds{};
  double total = 0;
  int step = 0;
  int usableFixes = 0;
};

// A phase lasts from its beginning to the next phase's, the last one to the
// end of the run.
Timing timedRun(const FlightRecord& record) {
  std::vector<std::pair<RunPhase, Clock::time_point>> begins;
  RunControl control({}, nullptr, [&](RunPhase phase) { begins.emplace_back(phase, Clock::now()); });
  const auto start = Clock::now();
  const OptimizationRun run = optimizeFlight(record, DefaultPointBudget, control);
  const auto end = Clock::now();
  Timing timing;
  timing.step = run.step;
  timing.usableFixes = run.usableFixes;
  timing.total = std::chrono::duration<double>(end - start).count();
  for (std::size_t k = 0; k < begins.size(); ++k) {
    const auto until = k + 1 < begins.size() ? begins[k + 1].second : end;
    timing.seconds[static_cast<std::size_t>(begins[k].first)] +=
        std::chrono::duration<double>(until - begins[k].second).count();
  }
  return timing;
}

Timing fastestRun(const FlightRecord& record, int repetitions) {
  Timing fastest = timedRun(record);
  for (int k = 1; k < repetitions; ++k) {
    const Timing timing = timedRun(record);
    if (timing.total < fastest.total) fastest = timing;
  }
  return fastest;
}

std::vector<std::filesystem::path> sharedFlights() {
  std::vector<std::filesystem::path> flights;
  for (const auto& entry : std::filesystem::directory_iterator(test::testDataDir() / "igc")) {
    if (entry.path().extension() != ".md") flights.push_back(entry.path());
  }
  std::sort(flights.begin(), flights.end());
  return flights;
}

void printHeader() {
  std::printf("%-45s %6s %4s %8s", "flight", "fixes", "step", "total_s");
  for (const char* name : PhaseNames) std::printf(" %11s", name);
  std::printf("\n");
}

void printShares(const PhaseSeconds& shares) {
  for (double share : shares) std::printf(" %11.4f", share);
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  const int repetitions = argc > 1 ? std::max(std::stoi(argv[1]), 1) : 3;
  PhaseSeconds shareSum{};
  int refined = 0;
  printHeader();
  for (const auto& path : sharedFlights()) {
    auto record = std::make_unique<FlightRecord>();
    if (!readFlightFile(path.string(), *record).ok()) {
      std::printf("%s: not readable\n", path.filename().c_str());
      continue;
    }
    const Timing timing = fastestRun(*record, repetitions);
    double phased = 0;
    for (double seconds : timing.seconds) phased += seconds;
    PhaseSeconds shares{};
    for (int k = 0; k < RunPhaseCount; ++k) shares[k] = timing.seconds[k] / phased;
    std::printf("%-45s %6d %4d %8.3f", path.filename().c_str(), timing.usableFixes, timing.step,
                timing.total);
    printShares(shares);
    if (timing.step <= 1) continue;
    ++refined;
    for (int k = 0; k < RunPhaseCount; ++k) shareSum[k] += shares[k];
  }
  if (refined == 0) return 1;
  for (double& share : shareSum) share /= refined;
  std::printf("%-45s %6s %4s %8s", "mean share of the refined flights", "", "", "");
  printShares(shareSum);
  return 0;
}
