#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace quorvanta::sim {

// The "$PMLR" track records of MLR, Log_it! and Renschler instruments,
// byte for byte: numbers high byte first, a 16-bit sum at the end.

struct PmlrPoint {
  std::uint16_t number = 0;
  std::uint32_t seconds = 0;  // since 6 January 1980, 00:00 UTC
  double latDeg = 0;          // south negative
  double lonDeg = 0;          // east, 0 to 360
  std::uint32_t altDm = 0;    // decimetres, 24 bits
  std::uint8_t status = 0;
};

inline void appendBigEndian(std::string& out, std::uint32_t value, int bytes) {
  for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) {
    out.push_back(static_cast<char>((value >> shift) & 0xFF));
  }
}

// Degrees as the instruments count them: 2^32 units to the circle.
inline std::uint32_t circleUnits(double degrees) {
  if (degrees < 0) degrees += 360;
  return static_cast<std::uint32_t>(std::llround(degrees / 360 * 4294967296.0) & 0xFFFFFFFF);
}

inline std::string withChecksum(std::string body) {
  unsigned sum = 0;
  for (const char c : body) sum += static_cast<unsigned char>(c);
  appendBigEndian(body, sum & 0xFFFF, 2);
  return body;
}

inline std::string recordHead(std::uint8_t sequence) {
  std::string body;
  body.push_back(static_cast<char>(0x8B));
  body.push_back(static_cast<char>(sequence));
  body += "T";
  body.push_back('\x01');
  return body;
}

inline std::string pointRecord(std::uint8_t sequence, const std::vector<PmlrPoint>& points) {
  std::string body = recordHead(sequence);
  body.push_back('\0');
  body.push_back(static_cast<char>(points.size()));
  for (const PmlrPoint& p : points) {
    appendBigEndian(body, p.number, 2);
    appendBigEndian(body, p.seconds, 4);
    appendBigEndian(body, circleUnits(p.latDeg), 4);
    appendBigEndian(body, circleUnits(p.lonDeg), 4);
    appendBigEndian(body, p.altDm, 3);
    body.push_back(static_cast<char>(p.status));
  }
  return withChecksum(std::move(body));
}

inline std::string startRecord(std::uint8_t sequence = 1) {
  return withChecksum(recordHead(sequence) + "DEBUT");
}

inline std::string endRecord(std::uint8_t sequence) {
  return withChecksum(recordHead(sequence) + "FIN");
}

// A record as one line of the stream.
inline std::string unit(std::string_view body) {
  std::string line("$PMLR");
  line += body;
  line += "\r\n";
  return line;
}

// The identification answer with its NMEA checksum.
inline std::string identificationLine(std::string_view text) {
  std::string line("$PMLR,IDGPS,00,");
  line += text;
  unsigned checksum = 0;
  for (std::size_t i = 1; i < line.size(); ++i) checksum ^= static_cast<unsigned char>(line[i]);
  char hex[3];
  std::snprintf(hex, sizeof hex, "%02X", checksum);
  line += '*';
  line += hex;
  line += "\r\n";
  return line;
}

// A whole track: the start record (1), the point records (2 ...), each with
// `perRecord` points, and the end record, numbered on through 255 -> 0.
inline std::vector<std::string> trackRecords(const std::vector<PmlrPoint>& points,
                                             std::size_t perRecord) {
  std::vector<std::string> records{startRecord(1)};
  for (std::size_t at = 0; at < points.size(); at += perRecord) {
    const auto end = points.begin() + static_cast<std::ptrdiff_t>(std::min(points.size(), at + perRecord));
    records.push_back(pointRecord(static_cast<std::uint8_t>(records.size() + 1),
                                  {points.begin() + static_cast<std::ptrdiff_t>(at), end}));
  }
  records.push_back(endRecord(static_cast<std::uint8_t>(records.size() + 1)));
  return records;
}

inline std::string stream(const std::vector<std::string>& records) {
  std::string bytes;
  for (const std::string& record : records) bytes += unit(record);
  return bytes;
}

}  // namespace quorvanta::sim
