#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "devices/sim/GarminFrame.h"
#include "devices/sim/GarminScript.h"
#include "devices/sim/InstrumentModel.h"

namespace quorvanta::sim {

// A Garmin unit in host mode at the byte level. Every good host packet other
// than ACK and NAK is acknowledged; the product request and command packets
// start the transfer their script section holds. The unit sends one packet,
// then waits for the host's ACK before the next; a NAK makes it send the last
// packet again; command 0 abandons the transfer.
//
// Packets of a transfer are counted from 0 (for a track log: 0 the records
// packet, 1 to n the records, n + 1 transfer complete). Faults are set before
// the unit is connected; each one fires on the first transfer of its trigger
// that reaches its packet.
class GarminUnit : public InstrumentModel {
 public:
  explicit GarminUnit(GarminScript script);

  std::string received(std::string_view bytesFromHost) override;
  bool unplugged() const override { return unplugged_; }

  // The packet goes out with a wrong checksum; its repeat after NAK is good.
  void corruptChecksum(Trigger trigger, int packet);
  // The packet is not sent at all; a NAK from the host makes the unit send it.
  void dropPacket(Trigger trigger, int packet);
  // After sending the packet the unit answers nothing, ever.
  void stallAfter(Trigger trigger, int packet);
  // The unit sends no more than `count` bytes in all, then is unplugged.
  void closeAfterBytes(std::size_t count);

  // Host packets decoded so far, bad ones included.
  const std::vector<Frame>& hostPackets() const { return hostPackets_; }
  bool transferActive() const { return transfer_.has_value(); }

 private:
  enum class FaultKind { Corrupt, Drop, Stall };
  struct Fault {
    FaultKind kind;
    Trigger trigger;
    int packet;
    bool spent = false;
  };
  struct Transfer {
    Trigger trigger;
    std::vector<std::string> packets;
    std::size_t current = 0;  // the packet last sent, awaiting its ACK
  };

  void answer(const Frame& frame, std::string& out);
  void startTransfer(Trigger trigger, std::string& out);
  void sendCurrent(std::string& out);
  void sendRepeat(std::string& out);
  Fault* fault(FaultKind kind, int packet);
  void send(std::string& out, std::string_view bytes);

  GarminScript script_;
  FrameReader reader_;
  std::vector<Frame> hostPackets_;
  std::optional<Transfer> transfer_;
  std::vector<Fault> faults_;
  std::optional<std::size_t> byteLimit_;
  std::size_t bytesSent_ = 0;
  bool stalled_ = false;
  std::atomic<bool> unplugged_ = false;  // read by the pty runner
};

}  // namespace quorvanta::sim
