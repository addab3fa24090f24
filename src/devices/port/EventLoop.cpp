#include "devices/port/EventLoop.h"

#include <algorithm>
#include <utility>

namespace quorvanta {

namespace {

// A caller cannot be notified when `abandoned` turns true, so it looks this
// often.
constexpr std::chrono::milliseconds AbandonedCheck(5);

}  // namespace

EventLoop::~EventLoop() {
  std::unique_lock lock(mutex_);
  shuttingDown_ = true;
  calls_.clear();
  finished_.notify_all();
  finished_.wait(lock, [&] { return waitingCallers_ == 0; });
}

void EventLoop::runAndWait(std::function<void()> run, const std::atomic<bool>& abandoned) {
  std::unique_lock lock(mutex_);
  if (std::this_thread::get_id() == runner_) {
    // Handed over from the loop's own thread: waiting would never end.
    lock.unlock();
    if (!abandoned) run();
    return;
  }
  if (shuttingDown_ || abandoned) return;
  auto call = std::make_shared<Call>();
  call->run = std::move(run);
  calls_.push_back(call);
  ++waitingCallers_;
  wake_.notify_all();
  while (!call->finished && !shuttingDown_ && !abandoned) {
    finished_.wait_for(lock, AbandonedCheck);
  }
  if (!call->started) std::erase(calls_, call);
  if (--waitingCallers_ == 0) finished_.notify_all();
}

int EventLoop::startTimer(std::chrono::milliseconds after, std::function<void()> fire) {
  std::lock_guard lock(mutex_);
  const int id = nextTimerId_++;
  timers_[id] = Timer{Clock::now() + after, std::move(fire)};
  wake_.notify_all();
  return id;
}

void EventLoop::stopTimer(int id) {
  std::lock_guard lock(mutex_);
  timers_.erase(id);
}

std::function<void()> EventLoop::takeNext(std::shared_ptr<Call>& call) {
  if (!calls_.empty()) {
    call = calls_.front();
    calls_.pop_front();
    call->started = true;
    return call->run;
  }
  const auto earliest = std::min_element(timers_.begin(), timers_.end(), [](auto& a, auto& b) {
    return a.second.due < b.second.due;
  });
  if (earliest == timers_.end() || earliest->second.due > Clock::now()) return {};
  std::function<void()> fire = std::move(earliest->second.fire);
  timers_.erase(earliest);
  return fire;
}

void EventLoop::finish(const std::shared_ptr<Call>& call) {
  if (!call) return;
  std::lock_guard lock(mutex_);
  call->finished = true;
  finished_.notify_all();
}

bool EventLoop::runUntil(const std::function<bool()>& done, Clock::time_point deadline) {
  std::thread::id outerRunner;
  {
    std::lock_guard lock(mutex_);
    outerRunner = std::exchange(runner_, std::this_thread::get_id());
  }
  struct RestoreRunner {
    EventLoop& loop;
    std::thread::id outer;
    ~RestoreRunner() {
      std::lock_guard lock(loop.mutex_);
      loop.runner_ = outer;
    }
  } restore{*this, outerRunner};
  while (!done()) {
    std::unique_lock lock(mutex_);
    std::shared_ptr<Call> call;
    if (std::function<void()> next = takeNext(call)) {
      lock.unlock();
      try {
        next();
      } catch (...) {
        finish(call);
        throw;
      }
      finish(call);
      continue;
    }
    const Clock::time_point now = Clock::now();
    if (now >= deadline) {
      lock.unlock();
      return done();
    }
    Clock::time_point until = deadline;
    for (const auto& [id, timer] : timers_) until = std::min(until, timer.due);
    wake_.wait_until(lock, until);
  }
  return true;
}

}  // namespace quorvanta
