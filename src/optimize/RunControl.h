#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <stdexcept>

namespace quorvanta {

// Progress reporting and cancelling for an optimization that runs in a
// worker thread. Progress may be reported from any thread; the sink is
// called one at a time and only when the value changes.
class RunControl {
 public:
  using ProgressSink = std::function<void(int percent)>;

  explicit RunControl(ProgressSink sink = {}, const std::atomic<bool>* cancel = nullptr)
      : sink_(std::move(sink)), cancel_(cancel) {}

  void progress(int percent) {
    if (!sink_) return;
    const std::lock_guard lock(mutex_);
    if (percent == last_) return;
    last_ = percent;
    sink_(percent);
  }

  bool cancelled() const { return cancel_ && cancel_->load(std::memory_order_relaxed); }

 private:
  ProgressSink sink_;
  const std::atomic<bool>* cancel_;
  std::mutex mutex_;
  int last_ = -1;
};

class OptimizationCancelled : public std::runtime_error {
 public:
  OptimizationCancelled() : std::runtime_error("Optimierung abgebrochen") {}
};

}  // namespace quorvanta
