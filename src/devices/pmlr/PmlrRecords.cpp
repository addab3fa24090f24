#include "devices/pmlr/PmlrRecords.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace quorvanta::pmlr {

namespace {

constexpr std::string_view Prefix = "$PMLR";
constexpr unsigned char RecordMark = 0x8B;
constexpr double CircleUnits = 4294967296.0;  // 2^32 units make 360 degrees

unsigned byteAt(std::string_view bytes, std::size_t index) {
  return static_cast<unsigned char>(bytes[index]);
}

std::uint32_t bigEndian(std::string_view bytes, std::size_t at, std::size_t count) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < count; ++i) value = value << 8 | byteAt(bytes, at + i);
  return value;
}

// Whether `word` first occurs at a 1-based position from 6 to 19.
bool beginsEarly(std::string_view line, std::string_view word) {
  const std::size_t at = line.find(word);
  return at != std::string_view::npos && at >= 5 && at <= 18;
}

}  // namespace

std::string_view trackCommand(int bitsPerSecond) {
  switch (bitsPerSecond) {
    case 4800: return "$PMLR,24,02,0110,0388\r\n";
    case 38400: return "$PMLR,24,02,0101,0399\r\n";
    case 57600: return "$PMLR,24,02,0102,039A\r\n";
    default: return "$PMLR,24,02,0100,0398\r\n";
  }
}

std::optional<Identification> identification(std::string_view line) {
  if (line.find("PMLR,IDGPS") == std::string_view::npos) return std::nullopt;
  Identification id;
  const std::size_t star = line.find('*');
  unsigned checksum = 0;
  for (std::size_t i = line.starts_with('$') ? 1 : 0; i < std::min(star, line.size()); ++i) {
    checksum ^= byteAt(line, i);
  }
  std::array<char, 3> hex{};
  std::snprintf(hex.data(), hex.size(), "%02X", checksum);
  id.computed = hex.data();
  if (star != std::string_view::npos) id.received = line.substr(star + 1, 2);
  if (line.size() > 19) id.text = line.substr(15, line.size() - 19);
  id.logIt = beginsEarly(line, "LOG_IT");
  id.sol = beginsEarly(line, "SOL");
  return id;
}

std::string_view recordBody(std::string_view unit) {
  return unit.starts_with(Prefix) ? unit.substr(Prefix.size()) : unit;
}

bool isTrackRecord(std::string_view body) {
  return body.size() >= 4 && byteAt(body, 0) == RecordMark && body[2] == 'T' && byteAt(body, 3) == 1;
}

bool checksumMatches(std::string_view body) {
  if (body.size() < 2) return false;
  unsigned sum = 0;
  for (std::size_t i = 0; i + 2 < body.size(); ++i) sum += byteAt(body, i);
  return (sum & 0xFFFF) == bigEndian(body, body.size() - 2, 2);
}

bool cutInData(std::string_view body) {
  if (body.size() < 6 || byteAt(body, 4) != 0) return false;
  return body.size() < byteAt(body, 5) * BlockBytes + 8;
}

bool isStartRecord(std::string_view body) { return body.find("DEBUT") != std::string_view::npos; }

bool isEndRecord(std::string_view body) { return body.size() >= 7 && body.substr(4, 3) == "FIN"; }

std::uint8_t sequenceNumber(std::string_view body) {
  return body.size() >= 2 ? static_cast<std::uint8_t>(body[1]) : 0;
}

int blocksHeld(std::string_view body) {
  if (body.size() < 8 || byteAt(body, 4) != 0) return 0;
  const std::size_t room = (body.size() - 8) / BlockBytes;
  return static_cast<int>(std::min<std::size_t>(byteAt(body, 5), room));
}

TrackPoint decodeBlock(std::string_view body, int index) {
  const std::size_t at = 6 + static_cast<std::size_t>(index) * BlockBytes;
  TrackPoint point;
  point.number = static_cast<std::uint16_t>(bigEndian(body, at, 2));
  const std::uint32_t seconds = bigEndian(body, at + 2, 4);
  // Whole days and the second of the day apart, so that the time of day
  // stays exact to the second.
  point.time = InstrumentEpoch + seconds / 86400 + (seconds % 86400) / 86400.0;
  point.lat = bigEndian(body, at + 6, 4) * 360.0 / CircleUnits;
  if (point.lat >= 90) point.lat -= 360;
  point.lon = bigEndian(body, at + 10, 4) * 360.0 / CircleUnits;
  point.alt = static_cast<std::int32_t>(bigEndian(body, at + 14, 3) / 10);
  point.status = static_cast<std::uint8_t>(byteAt(body, at + 17));
  return point;
}

std::optional<std::string> UnitSplitter::next() {
  const std::size_t end = buffer_.find("\r\n", start_);
  if (end == std::string::npos) {
    buffer_.erase(0, start_);
    start_ = 0;
    return std::nullopt;
  }
  std::string unit = buffer_.substr(start_, end - start_);
  start_ = end + 2;
  if (held_) {
    unit = *held_ + "\r\n" + unit;
    held_.reset();
  }
  return unit;
}

bool UnitSplitter::dropOverlong() {
  if (buffered() <= MaxRecordBytes + Prefix.size()) return false;
  clear();
  return true;
}

void UnitSplitter::clear() {
  buffer_.clear();
  start_ = 0;
  held_.reset();
}

}  // namespace quorvanta::pmlr
