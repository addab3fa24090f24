#pragma once

#include <array>

namespace quorvanta {

// The phases of an optimization run, in the order they run.
enum class RunPhase { Table, Search, RefineFlat, RefineFai, RefineFree, Closing };
inline constexpr int RunPhaseCount = 6;

// Each phase's share of a run's wall-clock time at the 2K budget: the mean
// over the 16 shared real flights that are refined (step above 1), each
// flight the fastest of ten runs, measured on two otherwise idle cores of a
// Release build with
//   bench/quorvanta_phase_bench 10
// (bench/PhaseBench.cpp). Table and search run on every core, so with more
// cores the refinement and the closing take larger shares than these.
inline constexpr std::array<double, RunPhaseCount> PhaseShares = {
    0.145,   // Table
    0.572,   // Search
    0.113,   // RefineFlat
    0.084,   // RefineFai
    0.005,   // RefineFree
    0.081};  // Closing

// Where a run stands on the progress bar (1 to 100) with `percent` of
// `phase` done, in proportion to the time expected for what is done. A run
// without refinement gives the refinement's share to the other phases.
int barPosition(RunPhase phase, int percent, bool refining);

}  // namespace quorvanta
