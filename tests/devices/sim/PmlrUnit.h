#pragma once

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "devices/sim/InstrumentModel.h"
#include "devices/sim/PmlrTrackBytes.h"

namespace quorvanta::sim {

// The points of a real flight's B records as an instrument stores them:
// numbered from 1, the first one marking the start of the recording, each
// with eight satellites. `count` 0: all of them; more than the flight has:
// the flight again, a day later each time.
std::vector<PmlrPoint> pmlrFlightPoints(const std::filesystem::path& igcFile, std::size_t count = 0);

// What goes wrong on the simulated line.
struct PmlrFaults {
  std::set<int> damaged;  // record numbers (1: the start record) sent with a wrong checksum
  std::set<int> dropped;  // record numbers left out
  int faultyTransfers = 1;
  bool silent = false;            // answers nothing at all
  std::size_t unplugAfterBytes = 0;  // then the cable is pulled; 0: never
};

// An MLR receiver, Log_it! logger or Renschler instrument at the byte level:
// it answers the identification request with its model's line and each
// track request with the whole track as "$PMLR" records. Damaged or dropped
// records are damaged or dropped only in the first `faultyTransfers`
// transfers, so that asking again fills the gaps. Pauses are the pty
// runner's (PtyInstrument::Options).
class PmlrUnit : public InstrumentModel {
 public:
  enum class Model { Mlr, LogIt, Renschler };

  static constexpr std::size_t DefaultPointsPerRecord = 25;

  PmlrUnit(Model model, std::vector<PmlrPoint> points, PmlrFaults faults = {},
           std::size_t pointsPerRecord = DefaultPointsPerRecord);

  std::string received(std::string_view bytesFromHost) override;
  bool unplugged() const override { return unplugged_; }

  // The identification answer's text, which the A record repeats.
  std::string identificationText() const;
  // The track's records as sent when nothing goes wrong.
  const std::vector<std::string>& records() const { return records_; }
  int endRecordNumber() const { return static_cast<int>(records_.size()); }
  const std::vector<PmlrPoint>& points() const { return points_; }

  // What the host sent, one command a line without its CR LF.
  std::vector<std::string> commands() const;
  int trackRequests() const { return trackRequests_; }
  int lastRequestedSpeed() const { return lastSpeed_; }

 private:
  std::string answer(const std::string& command);
  std::string track();

  Model model_;
  std::vector<PmlrPoint> points_;
  PmlrFaults faults_;
  std::size_t pointsPerRecord_;
  std::vector<std::string> records_;
  std::string pending_;
  mutable std::mutex mutex_;
  std::vector<std::string> commands_;
  std::atomic<int> trackRequests_ = 0;
  std::atomic<int> lastSpeed_ = 0;
  std::size_t bytesSent_ = 0;
  std::atomic<bool> unplugged_ = false;  // read by the pty runner
};

}  // namespace quorvanta::sim
