#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvanta::pmlr {

// The "$PMLR" protocol of MLR receivers, Log_it! loggers and Renschler
// instruments: text commands, a text identification and the track as
// numbered binary records framed like NMEA lines.

inline constexpr std::string_view IdentifyCommand = "$PMLR,26,01,01,0339\r\n";
// Ends a transfer; the Renschler takes it as "switch off".
inline constexpr std::string_view StopCommand = "$PMLR,06,00,02A9\r\n";
inline constexpr std::string_view EraseCommand = "$PMLR,99,00,02B5\r\n";
inline constexpr int CommandSpeed = 4800;

// The track request that makes the instrument send at `bitsPerSecond`
// (4800, 19200, 38400 or 57600; anything else asks for 19200).
std::string_view trackCommand(int bitsPerSecond);

inline constexpr std::size_t BlockBytes = 18;
// The longest point record: 255 blocks.
inline constexpr std::size_t MaxRecordBytes = 255 * BlockBytes + 8;

// The identification answer: a line holding "PMLR,IDGPS" and an NMEA
// checksum after "*".
struct Identification {
  std::string received;  // the two characters after "*" (fewer when the line ends)
  std::string computed;  // the XOR of the characters after "$" up to "*", two hex digits
  std::string text;      // the line from its 16th character, without its last four
  bool logIt = false;    // "LOG_IT" begins at a position from 6 to 19
  bool sol = false;      // "SOL" likewise: a Renschler instrument
  bool checksumMatches() const { return received == computed; }
};
std::optional<Identification> identification(std::string_view line);

// A unit without the leading "$PMLR" it may carry.
std::string_view recordBody(std::string_view unit);

// 0x8B, a sequence number, "T" 0x01: a track record (intact or not).
bool isTrackRecord(std::string_view body);
// The last two bytes, high byte first, hold the sum of all bytes before them.
bool checksumMatches(std::string_view body);
// A point record (0x00 at byte 5) shorter than its block count promises:
// the record was cut at a CR LF inside its data and the next unit continues it.
bool cutInData(std::string_view body);
bool isStartRecord(std::string_view body);  // holds "DEBUT"
bool isEndRecord(std::string_view body);    // "FIN" at bytes 5 to 7
std::uint8_t sequenceNumber(std::string_view body);
// The point blocks a point record really holds: its block count, but no
// more than its length has room for.
int blocksHeld(std::string_view body);

// 6 January 1980, where the instruments' clocks start, as a day count.
inline constexpr double InstrumentEpoch = 29226;

struct TrackPoint {
  double lat = 0;  // degrees, south negative
  double lon = 0;  // degrees east, 0 to 360 as sent
  double time = 0;  // day count, UTC
  std::int32_t alt = 0;  // metres
  std::uint16_t number = 0;  // as the instrument counts
  std::uint8_t status = 0;  // high nibble satellites (Log_it!), bit 0 recording started
  int satellites() const { return status >> 4; }
  bool recordingStart() const { return (status & 1) != 0; }
};
// Block `index` (from 0) of a point record; the caller keeps it below blocksHeld.
TrackPoint decodeBlock(std::string_view body, int index);

// Cuts the received bytes into units at each CR LF. A unit that was cut
// inside its data is held and continued by the next one, with the CR LF
// between them restored.
class UnitSplitter {
 public:
  void append(std::string_view bytes) { buffer_ += bytes; }
  std::optional<std::string> next();
  void hold(std::string_view unit) { held_ = unit; }
  // More bytes without a line end than any unit can have: the line is
  // garbled, and what was gathered is dropped.
  bool dropOverlong();
  std::size_t buffered() const { return buffer_.size() - start_; }
  void clear();

 private:
  std::string buffer_;
  std::size_t start_ = 0;  // units before it were taken already
  std::optional<std::string> held_;
};

}  // namespace quorvanta::pmlr
