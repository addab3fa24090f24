#include "devices/sim/GarminUnit.h"

#include <algorithm>

namespace quorvanta::sim {

namespace {

std::string acknowledgement(std::uint8_t kind, std::uint8_t id) {
  return encodeFrame(kind, std::string{static_cast<char>(id), '\0'});
}

std::string withBadChecksum(const std::string& wire) {
  if (const auto frame = decodeFrame(wire)) return encodeFrame(frame->id, frame->data, 1);
  auto bytes = wire;  // a recorded frame that does not decode: spoil a byte anyway
  if (!bytes.empty()) bytes[bytes.size() > 3 ? bytes.size() - 3 : 0] ^= 1;
  return bytes;
}

}  // namespace

GarminUnit::GarminUnit(GarminScript script) : script_(std::move(script)) {}

void GarminUnit::corruptChecksum(Trigger trigger, int packet) {
  faults_.push_back({FaultKind::Corrupt, trigger, packet});
}

void GarminUnit::dropPacket(Trigger trigger, int packet) {
  faults_.push_back({FaultKind::Drop, trigger, packet});
}

void GarminUnit::stallAfter(Trigger trigger, int packet) {
  faults_.push_back({FaultKind::Stall, trigger, packet});
}

void GarminUnit::closeAfterBytes(std::size_t count) {
  byteLimit_ = count;
  if (bytesSent_ >= count) unplugged_ = true;
}

std::string GarminUnit::received(std::string_view bytesFromHost) {
  std::string out;
  reader_.append(bytesFromHost);
  while (auto frame = reader_.next()) {
    hostPackets_.push_back(*frame);
    if (!stalled_ && !unplugged_) answer(*frame, out);
  }
  return out;
}

void GarminUnit::answer(const Frame& frame, std::string& out) {
  if (!frame.good) {
    send(out, acknowledgement(NakId, frame.id));
    return;
  }
  if (frame.id == AckId) {
    if (transfer_ && ++transfer_->current < transfer_->packets.size())
      sendCurrent(out);
    else
      transfer_.reset();
    return;
  }
  if (frame.id == NakId) {
    if (transfer_) sendRepeat(out);
    return;
  }
  send(out, acknowledgement(AckId, frame.id));
  if (frame.id == ProductRequestId) {
    startTransfer(Trigger::productRequest(), out);
  } else if (frame.id == CommandId && !frame.data.empty()) {
    const auto code = static_cast<std::uint8_t>(frame.data[0]);
    if (code == AbortCommand)
      transfer_.reset();
    else
      startTransfer(Trigger::command(code), out);
  }
}

void GarminUnit::startTransfer(Trigger trigger, std::string& out) {
  transfer_.reset();
  const auto section = script_.answers.find(trigger);
  if (section == script_.answers.end()) return;
  Transfer transfer{trigger, {}, 0};
  for (const auto& packet : section->second) transfer.packets.push_back(packet.wire);
  if (transfer.packets.empty()) return;
  transfer_ = std::move(transfer);
  sendCurrent(out);
}

void GarminUnit::sendCurrent(std::string& out) {
  const auto index = static_cast<int>(transfer_->current);
  const auto& packet = transfer_->packets[transfer_->current];
  if (auto* drop = fault(FaultKind::Drop, index)) {
    drop->spent = true;
  } else if (auto* corrupt = fault(FaultKind::Corrupt, index)) {
    corrupt->spent = true;
    send(out, withBadChecksum(packet));
  } else {
    send(out, packet);
  }
  if (fault(FaultKind::Stall, index)) stalled_ = true;
}

void GarminUnit::sendRepeat(std::string& out) { send(out, transfer_->packets[transfer_->current]); }

GarminUnit::Fault* GarminUnit::fault(FaultKind kind, int packet) {
  const auto match = std::find_if(faults_.begin(), faults_.end(), [&](const Fault& fault) {
    return !fault.spent && fault.kind == kind && fault.trigger == transfer_->trigger &&
           fault.packet == packet;
  });
  return match == faults_.end() ? nullptr : &*match;
}

void GarminUnit::send(std::string& out, std::string_view bytes) {
  if (unplugged_) return;
  if (byteLimit_) bytes = bytes.substr(0, std::min(bytes.size(), *byteLimit_ - bytesSent_));
  out += bytes;
  bytesSent_ += bytes.size();
  if (byteLimit_ && bytesSent_ >= *byteLimit_) unplugged_ = true;
}

}  // namespace quorvanta::sim
