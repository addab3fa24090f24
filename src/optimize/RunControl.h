#pragma once

#include <algorithm>
#include <atomic>
#include <functional>
#include <mutex>
#include <stdexcept>

#include "optimize/RunProgress.h"

namespace quorvanta {

// Progress reporting and cancelling for an optimization that runs in a
// worker thread. Each phase reports how much of itself is done; the sink
// gets the position of the whole run on the progress bar, one call at a
// time and only when it advances, so that workers finishing out of order
// never move the bar back. Progress may be reported from any thread.
class RunControl {
 public:
  using ProgressSink = std::function<void(int position)>;
  using PhaseSink = std::function<void(RunPhase phase)>;

  explicit RunControl(ProgressSink sink = {}, const std::atomic<bool>* cancel = nullptr,
                      PhaseSink phases = {})
      : sink_(std::move(sink)), phases_(std::move(phases)), cancel_(cancel) {}

  // Whether the run refines its routes; without, the bar leaves the
  // refinement out.
  void planRefinement(bool refining) { refining_ = refining; }

  // Called between phases, from the thread that runs the optimization.
  void beginPhase(RunPhase phase) {
    phase_ = phase;
    if (phases_) phases_(phase);
    progress(0);
  }

  // `percent` of the current phase is done.
  void progress(int percent) { advance(barPosition(phase_, percent, refining_)); }

  // For a run without the phases above: `percent` of the whole run is done.
  void overallProgress(int percent) { advance(std::clamp(percent, 1, 100)); }

  bool cancelled() const { return cancel_ && cancel_->load(std::memory_order_relaxed); }

 private:
  void advance(int position) {
    if (!sink_) return;
    const std::lock_guard lock(mutex_);
    if (position <= last_) return;
    last_ = position;
    sink_(position);
  }

  ProgressSink sink_;
  PhaseSink phases_;
  const std::atomic<bool>* cancel_;
  std::mutex mutex_;
  int last_ = 0;
  RunPhase phase_ = RunPhase::Table;
  bool refining_ = true;
};

class OptimizationCancelled : public std::runtime_error {
 public:
  OptimizationCancelled() : std::runtime_error("Optimierung abgebrochen") {}
};

}  // namespace quorvanta
