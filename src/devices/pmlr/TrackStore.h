#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "devices/pmlr/PmlrRecords.h"
#include "flight/OneBasedArray.h"

namespace quorvanta::pmlr {

// The records of a track by number, and the points decoded from them.
class TrackStore {
 public:
  static constexpr int RecordCapacity = 1400;
  static constexpr int PointCapacity = 32768;

  // Forgets every record (a fresh transfer); the points stay until decoded again.
  void clearRecords();

  // A track was requested: until its start record, records still arriving
  // from an earlier answer cannot be numbered and count as 0.
  void awaitStart();
  // The record number of an intact record: its sequence number plus 256
  // for every time the sequence fell back (255 -> 0) since the start record,
  // which begins the count afresh.
  int number(std::string_view body);
  // The record number a damaged record would have, for the display.
  int wraps() const { return wraps_; }

  // Keeps an intact record; false when its number lies outside the table.
  bool put(int number, std::string_view body);
  bool has(int number) const;
  int highest() const { return highest_; }

  // Whether a record before the end record `endNumber` is missing.
  bool missingBefore(int endNumber) const;

  // Decodes the point records 2 .. lastRecord in order up to the first
  // missing or end record, `shown` called with each point's index and the
  // record's share of the whole in percent. False when the points did not
  // all fit.
  bool decode(int lastRecord, const std::function<void(int point, int percent)>& shown);
  int pointCount() const { return pointCount_; }
  const TrackPoint& point(int index) const { return points_[index]; }

 private:
  OneBasedArray<std::string, RecordCapacity> records_;
  int highest_ = 0;
  int wraps_ = 0;
  std::optional<std::uint8_t> lastSequence_;
  bool awaitingStart_ = false;
  OneBasedArray<TrackPoint, PointCapacity> points_;
  int pointCount_ = 0;
};

}  // namespace quorvanta::pmlr
