#pragma once

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace quorvanta {

inline int workerCount() {
  return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 16u));
}

// Runs work(item, worker) for item = 0..count-1 on every core; items are
// handed out one at a time, so uneven items balance themselves. The first
// exception of any worker (memory running out) stops the hand-out and is
// rethrown here, where the caller can report it, instead of terminating the
// process from a worker thread.
template <typename Work>
void parallelFor(int count, Work&& work) {
  const int workers = std::min(workerCount(), std::max(count, 1));
  std::atomic<int> next{0};
  std::mutex failureLock;
  std::exception_ptr failure;
  const auto run = [&](int worker) {
    try {
      for (int item = next++; item < count; item = next++) work(item, worker);
    } catch (...) {
      next = count;
      const std::lock_guard lock(failureLock);
      if (!failure) failure = std::current_exception();
    }
  };
  std::vector<std::thread> threads;
  threads.reserve(static_cast<std::size_t>(workers));
  try {
    for (int worker = 1; worker < workers; ++worker) threads.emplace_back(run, worker);
  } catch (const std::system_error&) {
    // Fewer threads only make the work slower.
  }
  run(0);
  for (auto& thread : threads) thread.join();
  if (failure) std::rethrow_exception(failure);
}

}  // namespace quorvanta
