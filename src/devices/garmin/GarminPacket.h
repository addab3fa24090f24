#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvanta::garmin {

inline constexpr std::uint8_t Dle = 0x10;
inline constexpr std::uint8_t Etx = 0x03;

// Packet ids of the link protocol.
enum PacketId : std::uint8_t {
  Ack = 6,
  Command = 10,
  TransferComplete = 12,
  DateTime = 14,
  Nak = 21,
  Records = 27,
  RouteHeader = 29,
  RouteWaypoint = 30,
  Almanac = 31,
  TrackPoint = 34,
  Waypoint = 35,
  TrackHeader = 99,
  ProtocolArray = 253,
  ProductRequest = 254,
  ProductData = 255,
};

// Command codes of a command packet.
enum CommandCode : std::uint8_t {
  AbortTransfer = 0,
  TransferAlmanac = 1,
  TransferRoutes = 4,
  TransferTime = 5,
  TransferTrackLog = 6,
  TransferWaypoints = 7,
};

// The whole frame of a packet, ready for one write: DLE, id, size, data,
// checksum, DLE, ETX, with every DLE from the id to the checksum doubled.
std::string encodePacket(std::uint8_t id, std::string_view data);

// A packet cut from the received stream, DLE doubling undone.
struct Packet {
  std::uint8_t id = 0;
  std::uint8_t size = 0;     // as the packet declares it
  std::string data;          // the bytes between size and checksum
  bool lengthOk = false;     // exactly `size` data bytes arrived
  bool checksumOk = false;
  std::string raw;           // the frame as received, for the RX window
};

// Collects received bytes and cuts whole packets from them. Bytes before a
// packet start are skipped; a frame that cannot be a packet is dropped at
// the next packet start, so a stream that lost bytes resynchronises.
class PacketFramer {
 public:
  void append(std::string_view bytes);
  std::optional<Packet> next();  // the next complete packet, if one has arrived
  std::size_t bufferedBytes() const;
  void clear();

 private:
  bool seekFrameStart();
  void addContent(std::uint8_t byte, std::size_t rawBytes);
  void compact();

  std::string buffer_;
  std::size_t consumed_ = 0;  // bytes of buffer_ handed out or skipped
  std::size_t scanned_ = 0;   // bytes of buffer_ looked at
  bool inFrame_ = false;
  std::string content_;       // the open frame's bytes, DLE doubling undone
};

}  // namespace quorvanta::garmin
