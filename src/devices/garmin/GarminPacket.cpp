#include "devices/garmin/GarminPacket.h"

#include <algorithm>

namespace quorvanta::garmin {

namespace {

// id, size, up to 255 data bytes and the checksum
constexpr std::size_t MaxContent = 255 + 3;

// Consumed bytes are erased only once they make up most of the buffer, so a
// long stream costs linear time however it is cut into reads.
constexpr std::size_t CompactThreshold = 4096;

std::uint8_t byteAt(std::string_view text, std::size_t index) {
  return static_cast<std::uint8_t>(text[index]);
}

void appendStuffed(std::string& frame, std::uint8_t byte) {
  frame += static_cast<char>(byte);
  if (byte == Dle) frame += static_cast<char>(Dle);
}

Packet packetOf(std::string_view content, std::string_view raw) {
  Packet packet;
  packet.raw = raw;
  if (!content.empty()) packet.id = byteAt(content, 0);
  if (content.size() > 1) packet.size = byteAt(content, 1);
  if (content.size() < 3) return packet;
  packet.data = content.substr(2, content.size() - 3);
  packet.lengthOk = content.size() == packet.size + 3u;
  unsigned sum = 0;
  for (char c : content) sum += static_cast<std::uint8_t>(c);
  packet.checksumOk = sum % 256 == 0;
  return packet;
}

}  // namespace

std::string encodePacket(std::uint8_t id, std::string_view data) {
  data = data.substr(0, 255);
  const auto size = static_cast<std::uint8_t>(data.size());
  std::string frame;
  frame.reserve(2 * data.size() + 8);
  frame += static_cast<char>(Dle);
  appendStuffed(frame, id);
  appendStuffed(frame, size);
  unsigned sum = id + size;
  for (char c : data) {
    appendStuffed(frame, static_cast<std::uint8_t>(c));
    sum += static_cast<std::uint8_t>(c);
  }
  appendStuffed(frame, static_cast<std::uint8_t>(-sum & 0xFF));
  frame += static_cast<char>(Dle);
  frame += static_cast<char>(Etx);
  return frame;
}

void PacketFramer::append(std::string_view bytes) { buffer_.append(bytes); }

std::optional<Packet> PacketFramer::next() {
  while (scanned_ < buffer_.size()) {
    if (!inFrame_) {
      if (!seekFrameStart()) break;
      continue;
    }
    if (byteAt(buffer_, scanned_) != Dle) {
      addContent(byteAt(buffer_, scanned_), 1);
      continue;
    }
    if (scanned_ + 1 >= buffer_.size()) break;  // the byte after the DLE decides
    const std::uint8_t after = byteAt(buffer_, scanned_ + 1);
    if (after == Dle) {
      addContent(Dle, 2);
    } else if (after == Etx) {
      scanned_ += 2;
      inFrame_ = false;
      Packet packet =
          packetOf(content_, std::string_view(buffer_).substr(consumed_, scanned_ - consumed_));
      consumed_ = scanned_;
      if (consumed_ >= CompactThreshold && 2 * consumed_ >= buffer_.size()) compact();
      return packet;
    } else {
      // The frame lost its end: a new one starts at this DLE.
      inFrame_ = false;
      consumed_ = scanned_;
    }
  }
  compact();
  return std::nullopt;
}

std::size_t PacketFramer::bufferedBytes() const { return buffer_.size() - consumed_; }

void PacketFramer::clear() {
  buffer_.clear();
  content_.clear();
  consumed_ = scanned_ = 0;
  inFrame_ = false;
}

bool PacketFramer::seekFrameStart() {
  const std::size_t at = buffer_.find(static_cast<char>(Dle), scanned_);
  if (at == std::string::npos) {
    consumed_ = scanned_ = buffer_.size();
    return false;
  }
  consumed_ = scanned_ = at;
  if (at + 1 >= buffer_.size()) return false;
  const std::uint8_t after = byteAt(buffer_, at + 1);
  scanned_ = at + 1;
  if (after == Dle || after == Etx) {
    consumed_ = scanned_;  // not a start: the next DLE may be one
  } else {
    inFrame_ = true;
    content_.clear();
  }
  return true;
}

void PacketFramer::addContent(std::uint8_t byte, std::size_t rawBytes) {
  scanned_ += rawBytes;
  content_ += static_cast<char>(byte);
  if (content_.size() <= MaxContent) return;
  // Longer than any packet: drop it and look for the next start.
  inFrame_ = false;
  consumed_ = scanned_;
}

void PacketFramer::compact() {
  buffer_.erase(0, consumed_);
  scanned_ -= consumed_;
  consumed_ = 0;
}

}  // namespace quorvanta::garmin
