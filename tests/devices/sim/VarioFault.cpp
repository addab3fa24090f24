#include "devices/sim/VarioFault.h"

#include <stdexcept>

namespace quorvanta::sim {

VarioFault varioFault(const std::string& name) {
  if (name == "normal") return VarioFault::None;
  if (name == "pause") return VarioFault::Pause;
  if (name == "wrong-length") return VarioFault::WrongLength;
  if (name == "silent") return VarioFault::Silent;
  if (name == "vanish") return VarioFault::Vanish;
  throw std::invalid_argument(name);
}

PtyInstrument::Options varioLine(VarioFault fault, std::size_t pauseAt, int bytesPerSecond) {
  PtyInstrument::Options line;
  line.bytesPerSecond = bytesPerSecond;
  if (fault == VarioFault::Pause) {
    line.pauseAfterBytes = pauseAt;
    line.pauseFor = std::chrono::milliseconds(800);
  }
  return line;
}

}  // namespace quorvanta::sim
