#pragma once

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "devices/sim/InstrumentModel.h"

namespace quorvanta::sim {

// A Bräuniger Galileo in menu mode at the byte level: it answers each of the
// four sentences whose checksum is right with text lines ended by CR LF, the
// track request with the selected flight's IGC file. A pause mid-answer is
// the pty runner's (PtyInstrument::Options).
class GalileoUnit : public InstrumentModel {
 public:
  enum class Behaviour {
    Normal,
    Silent,        // answers nothing
    NoDate,        // the track without its HFDTE line
    NoGRecord,     // the track without the instrument's G record
  };

  // `track`: the selected flight's lines, without line ends.
  explicit GalileoUnit(std::vector<std::string> track, Behaviour behaviour = Behaviour::Normal);

  std::string received(std::string_view bytesFromHost) override;
  bool unplugged() const override { return unplugged_; }

  // The unit sends no more than `count` bytes in all, then is unplugged.
  void unplugAfterBytes(std::size_t count) { byteLimit_ = count; }

  // The sentences received, with or without a good checksum.
  const std::vector<std::string>& sentences() const { return sentences_; }
  // The track as the unit sends it: its lines, each ended by CR LF.
  std::string trackAnswer() const;

 private:
  std::string answer(const std::string& sentence) const;

  std::vector<std::string> track_;
  Behaviour behaviour_;
  std::string pending_;
  std::vector<std::string> sentences_;
  std::optional<std::size_t> byteLimit_;
  std::size_t bytesSent_ = 0;
  std::atomic<bool> unplugged_ = false;  // read by the pty runner
};

// The lines of a flight file (CR LF or LF line ends), for the unit's track.
std::vector<std::string> flightFileLines(const std::filesystem::path& path);

}  // namespace quorvanta::sim
