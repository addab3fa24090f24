#pragma once

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace quorvanta {

inline int workerCount() {
  return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 16u));
}

// Runs work(item, worker) for item = 0..count-1 on every core; items are
// handed out one at a time, so uneven items balance themselves.
template <typename Work>
void parallelFor(int count, Work&& work) {
  const int workers = std::min(workerCount(), std::max(count, 1));
  std::atomic<int> next{0};
  const auto run = [&](int worker) {
    for (int item = next++; item < count; item = next++) work(item, worker);
  };
  std::vector<std::thread> threads;
  for (int worker = 1; worker < workers; ++worker) threads.emplace_back(run, worker);
  run(0);
  for (auto& thread : threads) thread.join();
}

}  // namespace quorvanta
