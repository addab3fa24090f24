#pragma once

#include <chrono>
#include <cstddef>
#include <string>

#include "devices/sim/PtyInstrument.h"

namespace quorvanta::sim {

// How a simulated variometer misbehaves, if at all.
enum class VarioFault {
  None,
  Pause,        // falls silent for 800 ms halfway through its (last) answer
  WrongLength,  // its (last) answer lacks one byte
  Silent,       // answers nothing
  Vanish,       // is unplugged halfway through its (last) answer
};

// "normal", "pause", "wrong-length", "silent", "vanish"; throws
// std::invalid_argument for anything else.
VarioFault varioFault(const std::string& name);

// The line, paced at `bytesPerSecond` (0: unpaced), with the pause after
// `pauseAt` bytes to the host when the fault asks for one.
PtyInstrument::Options varioLine(VarioFault fault, std::size_t pauseAt, int bytesPerSecond);

}  // namespace quorvanta::sim
