#include "optimize/Optimizer.h"

#include <chrono>
#include <cmath>
#include <memory>

#include "flight/NumberText.h"
#include "optimize/CoarseSearch.h"
#include "optimize/DistanceMatrix.h"
#include "optimize/Refinement.h"
#include "optimize/Scoring.h"
#include "optimize/NearestPairs.h"
#include "optimize/UsableTrack.h"

namespace quorvanta {

namespace {

using Clock = std::chrono::steady_clock;

// Elapsed wall-clock time in whole milliseconds.
long long millisecondsSince(Clock::time_point since) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count();
}

void throwIfCancelled(const RunControl& control) {
  if (control.cancelled()) throw OptimizationCancelled();
}

// The routes in usable-fix numbers while the run works on them.
struct Routes {
  int freeStart = 0, freeTp1 = 0, freeTp2 = 0, freeTp3 = 0, freeFinish = 0;
  int flatTp1 = 0, flatTp2 = 0, flatTp3 = 0;
  int faiTp1 = 0, faiTp2 = 0, faiTp3 = 0;
  int flatStart = 0, flatFinish = 0, faiStart = 0, faiFinish = 0;
  double freeDistance = 0, flatPerimeter = 0, faiPerimeter = 0, flatGap = 0, faiGap = 0;
};

Routes fromThinned(const CoarseRoutes& coarse, int step) {
  const auto u = [step](int x) { return thinnedToUsable(x, step); };
  Routes r;
  r.freeStart = u(coarse.freeStart), r.freeTp1 = u(coarse.freeTp1), r.freeTp2 = u(coarse.freeTp2);
  r.freeTp3 = u(coarse.freeTp3), r.freeFinish = u(coarse.freeFinish);
  r.flatTp1 = u(coarse.flatTp1), r.flatTp2 = u(coarse.flatTp2), r.flatTp3 = u(coarse.flatTp3);
  r.faiTp1 = u(coarse.faiTp1), r.faiTp2 = u(coarse.faiTp2), r.faiTp3 = u(coarse.faiTp3);
  return r;
}

void exactLengths(Routes& r, const UsableTrack& track) {
  const auto d = [&](int a, int b) { return track.distance(a, b); };
  if (r.freeTp2 > 0) {
    r.freeDistance = d(r.freeStart, r.freeTp1) + d(r.freeTp1, r.freeTp2) + d(r.freeTp2, r.freeTp3) +
                     d(r.freeTp3, r.freeFinish);
  }
  if (r.flatTp2 > 0) r.flatPerimeter = d(r.flatTp1, r.flatTp2) + d(r.flatTp2, r.flatTp3) + d(r.flatTp3, r.flatTp1);
  if (r.faiTp2 > 0) r.faiPerimeter = d(r.faiTp1, r.faiTp2) + d(r.faiTp2, r.faiTp3) + d(r.faiTp3, r.faiTp1);
}

// The start and finish closest to each other, before Tp1 and after Tp3.
void closeTriangle(const UsableTrack& track, int tp1, int tp3, int& start, int& finish,
                   double& gap) {
  const ClosestPair closest = closestPair(track, tp1, tp3, track.count());
  start = closest.a ? closest.a : 1;
  finish = closest.b ? closest.b : track.count();
  gap = closest.distance;
}

OptimizationResult toResult(const Routes& r, const UsableTrack& usable) {
  const auto fix = [&](int index) {
    return index == 0 ? 0 : usable.fixNumber[static_cast<std::size_t>(index)];
  };
  OptimizationResult result;
  result.FreeStart = fix(r.freeStart), result.FreeTp1 = fix(r.freeTp1);
  result.FreeTp2 = fix(r.freeTp2), result.FreeTp3 = fix(r.freeTp3);
  result.FreeFinish = fix(r.freeFinish);
  result.FlatTp1 = fix(r.flatTp1), result.FlatTp2 = fix(r.flatTp2), result.FlatTp3 = fix(r.flatTp3);
  result.FaiTp1 = fix(r.faiTp1), result.FaiTp2 = fix(r.faiTp2), result.FaiTp3 = fix(r.faiTp3);
  result.FlatStart = fix(r.flatStart), result.FlatFinish = fix(r.flatFinish);
  result.FaiStart = fix(r.faiStart), result.FaiFinish = fix(r.faiFinish);
  result.FreeDistance = r.freeDistance;
  result.FlatPerimeter = r.flatPerimeter, result.FaiPerimeter = r.faiPerimeter;
  result.FlatGap = r.flatGap, result.FaiGap = r.faiGap;
  return result;
}

void refine(Routes& r, const UsableTrack& track, const DistanceMatrix& D, int step,
            RunControl& control) {
  Refinement refinement(track, D, step, control);
  control.beginPhase(RunPhase::RefineFlat);
  if (r.flatTp2 > 0) refinement.triangle(r.flatTp1, r.flatTp2, r.flatTp3, r.flatPerimeter, false);
  throwIfCancelled(control);
  control.beginPhase(RunPhase::RefineFai);
  if (r.faiTp2 > 0) refinement.triangle(r.faiTp1, r.faiTp2, r.faiTp3, r.faiPerimeter, true);
  throwIfCancelled(control);
  control.beginPhase(RunPhase::RefineFree);
  if (r.freeTp2 > 0) {
    refinement.freeDistance(r.freeStart, r.freeTp1, r.freeTp2, r.freeTp3, r.freeFinish,
                            r.freeDistance);
  }
  throwIfCancelled(control);
}

}  // namespace

bool isPointBudget(int budget) {
  return budget == 512 || budget == 1024 || budget == 2048 || budget == 4096 || budget == 8192;
}

OptimizationRun optimizeFlight(const FlightRecord& record, int budget, RunControl& control) {
  OptimizationRun run;
  run.budget = budget;
  const UsableTrack usable = usableFixes(record);
  const ThinningPlan plan = planThinning(usable.count(), budget);
  run.usableFixes = usable.count();
  run.step = plan.step;
  run.thinnedPoints = plan.points;
  control.planRefinement(plan.step > 1);
  control.beginPhase(RunPhase::Table);
  const auto t0 = Clock::now();

  Routes routes;
  long long tableMs = 0, searchMs = 0, refineMs = 0;
  if (plan.points >= 3) {
    const auto D = std::make_unique<DistanceMatrix>(usable, plan, control);
    throwIfCancelled(control);
    tableMs = millisecondsSince(t0);
    control.beginPhase(RunPhase::Search);
    const CoarseRoutes coarse = coarseSearch(*D, control);
    throwIfCancelled(control);
    routes = fromThinned(coarse, plan.step);
    exactLengths(routes, usable);
    searchMs = millisecondsSince(t0) - tableMs;
    if (plan.step > 1) {
      refine(routes, usable, *D, plan.step, control);
      exactLengths(routes, usable);
    }
    refineMs = millisecondsSince(t0) - tableMs - searchMs;
    control.beginPhase(RunPhase::Closing);
    if (routes.flatTp2 > 0) {
      closeTriangle(usable, routes.flatTp1, routes.flatTp3, routes.flatStart, routes.flatFinish, routes.flatGap);
    }
    if (routes.faiTp2 > 0) {
      closeTriangle(usable, routes.faiTp1, routes.faiTp3, routes.faiStart, routes.faiFinish, routes.faiGap);
    }
  }
  control.progress(100);
  run.tableSeconds = static_cast<double>(tableMs) / 1000;
  run.searchSeconds = static_cast<double>(searchMs) / 1000;
  run.refineSeconds = static_cast<double>(refineMs) / 1000;
  run.result = toResult(routes, usable);
  scoreResult(run.result);
  run.labels = {"optimale Strecken für " + std::to_string(plan.points) + " TrPkte o.k.",
                "Zeit Felderaufbau:  " + generalText(run.tableSeconds) + " s",
                "Zeit Optimierung: " + generalText(run.searchSeconds) + " s",
                "Zeit Feinoptimierung: " + generalText(run.refineSeconds) + " s"};
  return run;
}

}  // namespace quorvanta
