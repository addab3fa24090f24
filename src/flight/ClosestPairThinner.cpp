#include "flight/ClosestPairThinner.h"

#include <stdexcept>

#include "flight/Geodesy.h"

namespace quorvanta {

ClosestPairThinner::ClosestPairThinner(int capacity)
    : capacity_(capacity),
      lat_(static_cast<std::size_t>(capacity)),
      lon_(lat_.size()),
      next_(lat_.size(), -1),
      arrival_(lat_.size()),
      pairDistance_(lat_.size()),
      keyed_(lat_.size(), false) {
  if (capacity < 3) throw std::invalid_argument("thinning needs room for three fixes");
  for (int slot = capacity - 1; slot >= 0; --slot) freeSlots_.push_back(slot);
}

int ClosestPairThinner::add(double lat, double lon) {
  if (count_ == capacity_) dropClosest();
  const int slot = freeSlots_.back();
  freeSlots_.pop_back();
  const auto s = static_cast<std::size_t>(slot);
  lat_[s] = lat;
  lon_[s] = lon;
  arrival_[s] = arrivals_++;
  next_[s] = -1;
  if (tail_ < 0) {
    head_ = slot;
  } else {
    next_[static_cast<std::size_t>(tail_)] = slot;
    keyPairFrom(tail_);
  }
  tail_ = slot;
  ++count_;
  return slot;
}

std::vector<int> ClosestPairThinner::slotsInOrder() const {
  std::vector<int> order;
  order.reserve(static_cast<std::size_t>(count_));
  for (int slot = head_; slot >= 0; slot = next_[static_cast<std::size_t>(slot)]) {
    order.push_back(slot);
  }
  return order;
}

void ClosestPairThinner::dropClosest() {
  const int first = pairs_.begin()->slot;
  const int gone = next_[static_cast<std::size_t>(first)];
  const int after = next_[static_cast<std::size_t>(gone)];
  unkeyPairFrom(first);
  unkeyPairFrom(gone);
  next_[static_cast<std::size_t>(first)] = after;
  if (after >= 0) {
    keyPairFrom(first);
  } else {
    tail_ = first;
  }
  freeSlots_.push_back(gone);
  --count_;
  ++dropped_;
}

// Keys the pair (slot, next); the pair that starts at the first fix is never
// a candidate.
void ClosestPairThinner::keyPairFrom(int slot) {
  const auto s = static_cast<std::size_t>(slot);
  const auto n = static_cast<std::size_t>(next_[s]);
  if (slot == head_) return;
  pairDistance_[s] = ArcDistance(lat_[s], lon_[s], lat_[n], lon_[n]);
  keyed_[s] = true;
  pairs_.insert({pairDistance_[s], arrival_[s], slot});
}

void ClosestPairThinner::unkeyPairFrom(int slot) {
  const auto s = static_cast<std::size_t>(slot);
  if (!keyed_[s]) return;
  pairs_.erase({pairDistance_[s], arrival_[s], slot});
  keyed_[s] = false;
}

}  // namespace quorvanta
