#include "devices/sim/GarminFrame.h"

#include <cstddef>

namespace quorvanta::sim {

namespace {

std::uint8_t byteAt(std::string_view bytes, std::size_t i) {
  return static_cast<std::uint8_t>(bytes[i]);
}

void appendStuffed(std::string& out, std::uint8_t byte) {
  out.push_back(static_cast<char>(byte));
  if (byte == FrameDle) out.push_back(static_cast<char>(byte));
}

// Length of the frame at the start of `bytes` (which begins with DLE), or 0
// while it is incomplete. Inside a frame a DLE is either doubled or ends it.
std::size_t frameLength(std::string_view bytes) {
  for (std::size_t i = 1; i + 1 < bytes.size(); ++i) {
    if (byteAt(bytes, i) != FrameDle) continue;
    if (byteAt(bytes, i + 1) == FrameDle) {
      ++i;
      continue;
    }
    return i + 2;
  }
  return 0;
}

}  // namespace

std::string encodeFrame(std::uint8_t id, std::string_view data, std::uint8_t checksumDelta) {
  std::string out(1, static_cast<char>(FrameDle));
  const auto size = static_cast<std::uint8_t>(data.size());
  std::uint8_t sum = id + size;
  appendStuffed(out, id);
  appendStuffed(out, size);
  for (std::size_t i = 0; i < data.size(); ++i) {
    sum += byteAt(data, i);
    appendStuffed(out, byteAt(data, i));
  }
  appendStuffed(out, static_cast<std::uint8_t>(-sum + checksumDelta));
  out.push_back(static_cast<char>(FrameDle));
  out.push_back(static_cast<char>(FrameEtx));
  return out;
}

std::optional<Frame> decodeFrame(std::string_view wire) {
  if (wire.size() < 5 || byteAt(wire, 0) != FrameDle || frameLength(wire) != wire.size() ||
      byteAt(wire, wire.size() - 1) != FrameEtx)
    return std::nullopt;
  std::string body;
  for (std::size_t i = 1; i + 2 < wire.size(); ++i) {
    body.push_back(wire[i]);
    if (byteAt(wire, i) == FrameDle) ++i;
  }
  if (body.size() < 3) return std::nullopt;
  Frame frame;
  frame.id = byteAt(body, 0);
  frame.data = body.substr(2, body.size() - 3);
  std::uint8_t sum = 0;
  for (char c : body) sum += static_cast<std::uint8_t>(c);
  frame.good = sum == 0 && byteAt(body, 1) == frame.data.size();
  return frame;
}

void FrameReader::append(std::string_view bytes) { buffer_.append(bytes); }

std::optional<Frame> FrameReader::next() {
  while (true) {
    const auto start = buffer_.find(static_cast<char>(FrameDle));
    if (start == std::string::npos) {
      buffer_.clear();
      return std::nullopt;
    }
    buffer_.erase(0, start);
    const auto length = frameLength(buffer_);
    if (length == 0) return std::nullopt;
    auto frame = decodeFrame(std::string_view(buffer_).substr(0, length));
    buffer_.erase(0, length);
    if (frame) return frame;
  }
}

}  // namespace quorvanta::sim
