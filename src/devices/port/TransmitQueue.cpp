#include "devices/port/TransmitQueue.h"

#include <algorithm>
#include <cstring>

namespace quorvanta {

TransmitQueue::TransmitQueue(std::size_t capacity) : block_(capacity) {}

TransmitQueue::Append TransmitQueue::append(std::span<const unsigned char> bytes,
                                            Clock::time_point deadline) {
  std::unique_lock lock(mutex_);
  const bool fits = roomMade_.wait_until(lock, deadline, [&] {
    return closed_ || count_ + bytes.size() <= block_.size();
  });
  if (closed_) return Append::Closed;
  if (!fits) return Append::Full;
  std::copy(bytes.begin(), bytes.end(), block_.begin() + static_cast<std::ptrdiff_t>(count_));
  count_ += bytes.size();
  bytesQueued_.notify_all();
  return Append::Queued;
}

std::span<const unsigned char> TransmitQueue::waitForBytes() {
  std::unique_lock lock(mutex_);
  bytesQueued_.wait(lock, [&] { return closed_ || count_ > 0; });
  if (closed_) return {};
  return {block_.data(), count_};
}

bool TransmitQueue::remove(std::size_t count) {
  std::lock_guard lock(mutex_);
  count = std::min(count, count_);
  std::memmove(block_.data(), block_.data() + count, count_ - count);
  count_ -= count;
  roomMade_.notify_all();
  return count_ == 0;
}

bool TransmitQueue::waitUntilEmpty(Clock::time_point deadline) {
  std::unique_lock lock(mutex_);
  return roomMade_.wait_until(lock, deadline, [&] { return closed_ || count_ == 0; });
}

void TransmitQueue::close() {
  std::lock_guard lock(mutex_);
  closed_ = true;
  bytesQueued_.notify_all();
  roomMade_.notify_all();
}

}  // namespace quorvanta
