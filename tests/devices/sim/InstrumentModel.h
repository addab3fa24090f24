#pragma once

#include <string>
#include <string_view>

namespace quorvanta::sim {

// A simulated instrument as bytes in, bytes out, without any I/O; the pty
// runner connects it to a line.
class InstrumentModel {
 public:
  virtual ~InstrumentModel() = default;

  // What the instrument sends in answer to bytes from the host (maybe nothing).
  virtual std::string received(std::string_view bytesFromHost) = 0;

  // True once the instrument wants its end of the line closed: the cable
  // pulled after its last answer.
  virtual bool unplugged() const { return false; }
};

}  // namespace quorvanta::sim
