#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <span>
#include <vector>

namespace quorvanta {

// The bytes waiting for a port's write thread: a fixed block, filled at the
// end by the user-interface thread and emptied from the front by the write
// thread. The block never moves, so the write thread writes from it outside
// the lock while more bytes are appended behind.
class TransmitQueue {
 public:
  using Clock = std::chrono::steady_clock;
  enum class Append { Queued, Full, Closed };

  explicit TransmitQueue(std::size_t capacity);

  // Appends all bytes once they fit, waiting for room until `deadline`.
  Append append(std::span<const unsigned char> bytes, Clock::time_point deadline);
  // Waits until bytes are queued; empty once closed.
  std::span<const unsigned char> waitForBytes();
  // Removes `count` written bytes from the front; true when none are left.
  bool remove(std::size_t count);
  // Waits until every byte has been taken, at most until `deadline`.
  bool waitUntilEmpty(Clock::time_point deadline);
  // Releases every waiter for good; later appends report Closed.
  void close();

 private:
  std::mutex mutex_;
  std::condition_variable bytesQueued_, roomMade_;
  std::vector<unsigned char> block_;
  std::size_t count_ = 0;
  bool closed_ = false;
};

}  // namespace quorvanta
