#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "flight/OneBasedArray.h"

namespace quorvanta::garmin {

enum class TrackFormat { D300, D301 };

// A track point record (34) as the unit sent it.
struct TrackPointRecord {
  double lat = 0, lon = 0;  // radians
  double time = 0;          // day count, UTC
  std::int32_t alt = 0;     // metres; 0 without altitude
  bool newTrack = false;
};

// Nothing when the record is shorter than its format or its position is
// invalid (the unit marks that with a latitude beyond the pole).
std::optional<TrackPointRecord> decodeTrackPoint(std::string_view data, TrackFormat format);

struct TrackEntry {
  double lat = 0, lon = 0, time = 0;
  std::int32_t alt = 0;
  std::int32_t track = 0;  // new-track flags seen before and at this point
};

// The kept points of one transfer, numbered from 1.
class TrackTable {
 public:
  static constexpr int Capacity = 16384;
  // Points closer in time than this to their predecessor are duplicates.
  static constexpr double DuplicateDays = 6e-6;

  enum class Added { Kept, Dropped, Full };
  // A point that starts no track and repeats the last kept point's time is
  // dropped; a full table keeps nothing more.
  Added add(const TrackEntry& entry, bool newTrack);
  void clear() { count_ = 0; }
  int count() const { return count_; }
  const TrackEntry& operator[](int number) const { return entries_[number]; }

 private:
  OneBasedArray<TrackEntry, Capacity> entries_;
  int count_ = 0;
};

// The display line of a received point (with "\n") and its transcript line
// (without line end).
std::string trackPointDisplayLine(const TrackEntry& entry, int number, bool newTrack);
std::string trackPointTranscriptLine(const TrackEntry& entry, bool newTrack);

}  // namespace quorvanta::garmin
