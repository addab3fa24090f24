#pragma once

#include <atomic>
#include <string>
#include <string_view>
#include <vector>

#include "devices/sim/InstrumentModel.h"
#include "devices/sim/PtyInstrument.h"
#include "devices/sim/VarioFault.h"

namespace quorvanta::sim {

// One entry of the directory as the instrument stores it; the start and the
// duration are written as packed BCD.
struct FlytecEntry {
  int altitude1 = 2345, altitude2 = 1456;
  int durationHours = 2, durationMinutes = 45, durationSeconds = 30;
  int year = 2003, month = 6, day = 15, hour = 12, minute = 5;
  int flags = 0x0C | 0x01;  // bits 2-3 speed sensor type, bits 0-1 interval code
  int first = 100, last = 399;
};

struct FlytecDirectoryContent {
  std::vector<FlytecEntry> entries = {{}};
  int count = -1;  // the entries' number unless set
  int serial = 3141;
  int sizeCode = 1;
};

// The 513-byte answer to "A000085".
std::string flytecDirectory(const FlytecDirectoryContent& content);

// The memory size of a size code (code 7: 61439 bytes).
int flytecMemorySize(int sizeCode);

// A recorded flight: altitudes every 1, 5 or 15 seconds (interval code 0,
// 1, 2) from its start, with or without airspeed bytes.
struct FlytecFlight {
  int year = 2003, month = 6, day = 15, hour = 12, minute = 5;
  int intervalCode = 0;
  bool speedSensor = false;
  std::vector<int> altitudes;  // metres, 0 .. 32767
};

// A Flytec 40XX: answers "A000085\r\n" with its directory and "A000086\r\n"
// with its memory (and the two bytes after it), the flights stored one after
// the other in the smallest memory that holds them.
class FlytecVario : public InstrumentModel {
 public:
  FlytecVario(const std::vector<FlytecFlight>& flights, int serial, VarioFault fault);

  std::string received(std::string_view bytesFromHost) override;
  bool unplugged() const override { return unplugged_; }

  const std::string& directory() const { return directory_; }
  const std::string& memory() const { return memory_; }
  // Paced at `bytesPerSecond`, with a pause halfway through the memory answer.
  PtyInstrument::Options line(int bytesPerSecond) const;

 private:
  std::string directory_;
  std::string memory_;  // without the two trailing bytes
  VarioFault fault_;
  std::string command_;
  std::atomic<bool> unplugged_ = false;
};

}  // namespace quorvanta::sim
