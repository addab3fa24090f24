#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "devices/port/CommDispatcher.h"

namespace quorvanta {

// A user-interface thread for programs without Qt (the command-line tool and
// the tests): the thread that calls run() executes the calls handed over by
// port threads and the single-shot timers that fall due.
class EventLoop : public CommDispatcher {
 public:
  using Clock = std::chrono::steady_clock;

  EventLoop() = default;
  ~EventLoop() override;
  EventLoop(const EventLoop&) = delete;
  EventLoop& operator=(const EventLoop&) = delete;

  void runAndWait(std::function<void()> call, const std::atomic<bool>& abandoned) override;

  // Single-shot timer: `fire` runs on the loop's thread `after` from now.
  int startTimer(std::chrono::milliseconds after, std::function<void()> fire);
  void stopTimer(int id);

  // Runs handed-over calls and due timers until `done` returns true (checked
  // after each of them) or `deadline` passes. Returns done().
  bool runUntil(const std::function<bool()>& done, Clock::time_point deadline);

 private:
  struct Call {
    std::function<void()> run;
    bool started = false;
    bool finished = false;
  };
  struct Timer {
    Clock::time_point due;
    std::function<void()> fire;
  };

  // Takes the next call, or else the next due timer; empty when neither.
  // Called with the lock held.
  std::function<void()> takeNext(std::shared_ptr<Call>& call);
  void finish(const std::shared_ptr<Call>& call);

  std::mutex mutex_;
  std::condition_variable wake_;      // the loop: a call or a timer arrived
  std::condition_variable finished_;  // the callers: their call has run
  std::deque<std::shared_ptr<Call>> calls_;
  std::map<int, Timer> timers_;
  int nextTimerId_ = 1;
  int waitingCallers_ = 0;
  bool shuttingDown_ = false;
  std::thread::id runner_;
};

}  // namespace quorvanta
