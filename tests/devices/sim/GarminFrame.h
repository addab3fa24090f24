#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvanta::sim {

// The simulated unit's own framing of Garmin packets, kept apart from the
// program's so that each checks the other.
inline constexpr std::uint8_t FrameDle = 0x10;
inline constexpr std::uint8_t FrameEtx = 0x03;

// Packet ids and command codes as the simulated unit knows them.
inline constexpr std::uint8_t AckId = 6;
inline constexpr std::uint8_t CommandId = 10;
inline constexpr std::uint8_t TransferCompleteId = 12;
inline constexpr std::uint8_t DateTimeId = 14;
inline constexpr std::uint8_t NakId = 21;
inline constexpr std::uint8_t RecordsId = 27;
inline constexpr std::uint8_t RouteHeaderId = 29;
inline constexpr std::uint8_t RouteWaypointId = 30;
inline constexpr std::uint8_t AlmanacId = 31;
inline constexpr std::uint8_t TrackPointId = 34;
inline constexpr std::uint8_t WaypointId = 35;
inline constexpr std::uint8_t TrackHeaderId = 99;
inline constexpr std::uint8_t ProtocolArrayId = 253;
inline constexpr std::uint8_t ProductRequestId = 254;
inline constexpr std::uint8_t ProductDataId = 255;
inline constexpr std::uint8_t AbortCommand = 0;
inline constexpr std::uint8_t TrackLogCommand = 6;

// DLE, id, size, data, checksum, DLE, ETX with the DLEs from id to checksum
// doubled. `checksumDelta` is added to the correct checksum (0: a good frame).
std::string encodeFrame(std::uint8_t id, std::string_view data, std::uint8_t checksumDelta = 0);

struct Frame {
  std::uint8_t id = 0;
  std::string data;
  bool good = false;  // declared size and checksum both right
};

// Decodes one whole frame as it appears on the line; nothing when the bytes
// are not exactly one DLE ... DLE ETX frame.
std::optional<Frame> decodeFrame(std::string_view wire);

// Cuts frames out of a byte stream that arrives in arbitrary pieces. Bytes
// outside a frame are skipped.
class FrameReader {
 public:
  void append(std::string_view bytes);
  std::optional<Frame> next();

 private:
  std::string buffer_;
};

}  // namespace quorvanta::sim
