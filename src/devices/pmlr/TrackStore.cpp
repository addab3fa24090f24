#include "devices/pmlr/TrackStore.h"

#include <algorithm>

namespace quorvanta::pmlr {

void TrackStore::clearRecords() {
  for (int k = 1; k <= RecordCapacity; ++k) records_[k].clear();
  highest_ = 0;
  wraps_ = 0;
  lastSequence_.reset();
}

// Any fall of the sequence counts as a wrap, not only 255 -> 0: a record
// lost just before the wrap must not file the next 256 records 256 too low.
void TrackStore::awaitStart() {
  awaitingStart_ = true;
  lastSequence_.reset();
}

int TrackStore::number(std::string_view body) {
  const std::uint8_t sequence = sequenceNumber(body);
  if (isStartRecord(body)) {
    wraps_ = 0;
    awaitingStart_ = false;
  } else if (awaitingStart_) {
    return 0;
  } else if (lastSequence_ && sequence < *lastSequence_) {
    ++wraps_;
  }
  lastSequence_ = sequence;
  return sequence + 256 * wraps_;
}

bool TrackStore::put(int number, std::string_view body) {
  if (number < 1 || number > RecordCapacity) return false;
  records_[number] = body;
  highest_ = std::max(highest_, number);
  return true;
}

bool TrackStore::has(int number) const {
  return number >= 1 && number <= RecordCapacity && !records_[number].empty();
}

bool TrackStore::missingBefore(int endNumber) const {
  for (int k = 1; k < endNumber; ++k) {
    if (!has(k)) return true;
  }
  return false;
}

bool TrackStore::decode(int lastRecord, const std::function<void(int, int)>& shown) {
  pointCount_ = 0;
  lastRecord = std::min(lastRecord, RecordCapacity);
  for (int k = 2; k <= lastRecord && has(k) && !isEndRecord(records_[k]); ++k) {
    const std::string& record = records_[k];
    const int percent = k * 100 / lastRecord;
    for (int block = 0, blocks = blocksHeld(record); block < blocks; ++block) {
      if (pointCount_ == PointCapacity) return false;
      points_[++pointCount_] = decodeBlock(record, block);
      if (shown) shown(pointCount_, percent);
    }
  }
  return true;
}

}  // namespace quorvanta::pmlr
