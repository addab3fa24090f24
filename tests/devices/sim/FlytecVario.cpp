#include "devices/sim/FlytecVario.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace quorvanta::sim {

namespace {

constexpr std::size_t DirectoryAnswerSize = 513;
constexpr std::size_t EntrySize = 19;
constexpr int FirstAddress = 0x10;
constexpr std::array<int, 8> MemorySizes = {0, 8191, 16383, 24575, 32767, 40959, 49151, 61439};

void putLittleEndian(std::string& bytes, std::size_t at, int value) {
  bytes[at] = static_cast<char>(value & 0xFF);
  bytes[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

char bcd(int value) { return static_cast<char>((value / 10) * 16 + value % 10); }

int intervalSeconds(int code) { return code == 0 ? 1 : code == 1 ? 5 : 15; }

}  // namespace

std::string flytecDirectory(const FlytecDirectoryContent& c) {
  std::string bytes(DirectoryAnswerSize, '\0');
  for (std::size_t k = 0; k < c.entries.size() && (k + 1) * EntrySize <= 362; ++k) {
    const FlytecEntry& e = c.entries[k];
    const std::size_t at = k * EntrySize;
    putLittleEndian(bytes, at, e.altitude1);
    putLittleEndian(bytes, at + 2, e.altitude2);
    const std::array<int, 8> bcdFields = {e.durationSeconds, e.durationMinutes, e.durationHours, e.day,
                                          e.month,           e.year - 2000,     e.minute,        e.hour};
    for (std::size_t b = 0; b < bcdFields.size(); ++b) bytes[at + 6 + b] = bcd(bcdFields[b]);
    bytes[at + 14] = static_cast<char>(e.flags);
    putLittleEndian(bytes, at + 15, e.first);
    putLittleEndian(bytes, at + 17, e.last);
  }
  bytes[362] = static_cast<char>(c.count >= 0 ? c.count : static_cast<int>(c.entries.size()));
  putLittleEndian(bytes, 384, c.serial);
  bytes[404] = static_cast<char>(c.sizeCode);
  return bytes;
}

int flytecMemorySize(int sizeCode) {
  return sizeCode >= 0 && sizeCode < static_cast<int>(MemorySizes.size())
             ? MemorySizes[static_cast<std::size_t>(sizeCode)]
             : 0;
}

FlytecVario::FlytecVario(const std::vector<FlytecFlight>& flights, int serial, VarioFault fault)
    : fault_(fault) {
  std::string samples(FirstAddress, '\xFF');
  FlytecDirectoryContent directory{.entries = {}, .count = -1, .serial = serial, .sizeCode = 0};
  for (const FlytecFlight& f : flights) {
    FlytecEntry e{.year = f.year, .month = f.month, .day = f.day, .hour = f.hour, .minute = f.minute};
    e.flags = (f.speedSensor ? 0x04 : 0) | f.intervalCode;
    e.first = static_cast<int>(samples.size());
    for (const int altitude : f.altitudes) {
      samples += static_cast<char>(altitude & 0xFF);
      samples += static_cast<char>((altitude >> 8) & 0x7F);
      if (f.speedSensor) samples += static_cast<char>(42);
    }
    e.last = static_cast<int>(samples.size()) - 1;
    const int seconds = static_cast<int>(f.altitudes.size()) * intervalSeconds(f.intervalCode);
    e.durationHours = seconds / 3600 % 100;
    e.durationMinutes = seconds / 60 % 60;
    e.durationSeconds = seconds % 60;
    e.altitude1 = f.altitudes.empty() ? 0 : *std::max_element(f.altitudes.begin(), f.altitudes.end());
    e.altitude2 = f.altitudes.empty() ? 0 : f.altitudes.back();
    directory.entries.push_back(e);
  }
  while (directory.sizeCode < 7 && flytecMemorySize(directory.sizeCode) < static_cast<int>(samples.size())) {
    ++directory.sizeCode;
  }
  if (flytecMemorySize(directory.sizeCode) < static_cast<int>(samples.size())) {
    throw std::invalid_argument("Die Flüge passen nicht in den Speicher des Flytec 40XX.");
  }
  samples.resize(static_cast<std::size_t>(flytecMemorySize(directory.sizeCode)), '\xFF');
  memory_ = samples;
  directory_ = flytecDirectory(directory);
}

std::string FlytecVario::received(std::string_view bytesFromHost) {
  command_ += bytesFromHost;
  const auto end = command_.find("\r\n");
  if (end == std::string::npos) return {};
  const std::string command = command_.substr(0, end);
  command_.erase(0, end + 2);
  if (fault_ == VarioFault::Silent) return {};
  if (command == "A000085") return directory_;
  if (command != "A000086") return {};
  const std::string answer = memory_ + "\r\n";
  if (fault_ == VarioFault::WrongLength) return answer.substr(0, answer.size() - 1);
  if (fault_ == VarioFault::Vanish) {
    unplugged_ = true;
    return answer.substr(0, answer.size() / 2);
  }
  return answer;
}

PtyInstrument::Options FlytecVario::line(int bytesPerSecond) const {
  return varioLine(fault_, directory_.size() + memory_.size() / 2, bytesPerSecond);
}

}  // namespace quorvanta::sim
