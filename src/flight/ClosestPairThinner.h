#pragma once

#include <cstdint>
#include <set>
#include <vector>

namespace quorvanta {

// Keeps a track within a fixed number of positions while it is being read.
// When the track is full, the later fix of the closest consecutive pair is
// removed before the next one is appended; the first fix never starts a
// candidate pair, and of equally close pairs the earliest goes. Positions
// live in slots that are reused, so the caller keeps its own data per slot.
//
// Each step costs O(log n): the pair distances sit in an ordered set keyed by
// (distance, arrival of the pair's first fix), which is the track order.
class ClosestPairThinner {
 public:
  explicit ClosestPairThinner(int capacity);

  // Appends a position (radians) and returns its slot, 0..capacity-1. When
  // the track was full, a fix was dropped first and its slot is reused.
  int add(double lat, double lon);

  int size() const { return count_; }
  std::int64_t droppedCount() const { return dropped_; }

  // Slots in track order.
  std::vector<int> slotsInOrder() const;

 private:
  struct PairKey {
    double distance;
    std::uint64_t arrival;
    int slot;
    bool operator<(const PairKey& other) const {
      return distance != other.distance ? distance < other.distance : arrival < other.arrival;
    }
  };

  void dropClosest();
  void keyPairFrom(int slot);
  void unkeyPairFrom(int slot);

  int capacity_;
  int count_ = 0;
  int head_ = -1;
  int tail_ = -1;
  std::int64_t dropped_ = 0;
  std::uint64_t arrivals_ = 0;
  std::vector<double> lat_, lon_;
  std::vector<int> next_;
  std::vector<std::uint64_t> arrival_;
  std::vector<double> pairDistance_;  // distance to the next fix, while keyed
  std::vector<bool> keyed_;
  std::vector<int> freeSlots_;
  std::set<PairKey> pairs_;
};

}  // namespace quorvanta
