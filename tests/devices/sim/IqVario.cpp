#include "devices/sim/IqVario.h"

#include <chrono>
#include <thread>

namespace quorvanta::sim {

namespace {

void putWord(std::string& bytes, int value) {
  bytes += static_cast<char>((value >> 8) & 0xFF);
  bytes += static_cast<char>(value & 0xFF);
}

}  // namespace

std::string iqDump(const IqDumpContent& c) {
  std::string bytes(6, '\0');
  bytes += static_cast<char>(c.flightNumber);
  putWord(bytes, 0);  // length, set below
  putWord(bytes, c.barographNumber);
  bytes += c.pilot;
  for (const int word : {c.date, c.year, 2450, 2380, 43, 150}) putWord(bytes, word);
  bytes += static_cast<char>(c.scanSeconds);
  putWord(bytes, c.start);
  putWord(bytes, c.landing);
  for (const IqDumpContent::Sample& sample : c.samples) {
    putWord(bytes, sample.altitude);
    bytes += static_cast<char>(sample.speed);
  }
  putWord(bytes, c.landingElevation);
  const int length = static_cast<int>(bytes.size()) - 7;
  bytes[7] = static_cast<char>((length >> 8) & 0xFF);
  bytes[8] = static_cast<char>(length & 0xFF);
  return bytes;
}

PtyInstrument::Options IqVario::line(int bytesPerSecond) const {
  return varioLine(fault_, dump_.size() / 2, bytesPerSecond);
}

void IqVario::pressSend(PtyInstrument& line) const {
  switch (fault_) {
    case VarioFault::None:
    case VarioFault::Pause: line.send(dump_); break;
    case VarioFault::WrongLength: line.send(dump_.substr(0, dump_.size() - 1)); break;
    case VarioFault::Silent: break;
    case VarioFault::Vanish: {
      const std::size_t half = dump_.size() / 2;
      line.send(dump_.substr(0, half));
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
      while (line.bytesToHost() < half && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
      line.unplug();
      break;
    }
  }
}

}  // namespace quorvanta::sim
