#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

namespace quorvanta::sim {

// Little-endian record fields as Garmin units send them.

inline void appendU8(std::string& out, std::uint8_t value) {
  out.push_back(static_cast<char>(value));
}

inline void appendU16(std::string& out, std::uint16_t value) {
  appendU8(out, static_cast<std::uint8_t>(value));
  appendU8(out, static_cast<std::uint8_t>(value >> 8));
}

inline void appendU32(std::string& out, std::uint32_t value) {
  appendU16(out, static_cast<std::uint16_t>(value));
  appendU16(out, static_cast<std::uint16_t>(value >> 16));
}

inline void appendFloat(std::string& out, float value) {
  appendU32(out, std::bit_cast<std::uint32_t>(value));
}

// Degrees as semicircles (2^31 semicircles = 180 degrees).
inline void appendSemicircles(std::string& out, double degrees) {
  appendU32(out, static_cast<std::uint32_t>(
                     static_cast<std::int32_t>(std::lround(degrees / 180 * 2147483648.0))));
}

// A text in a fixed field, blank-padded or cut.
inline void appendFixedText(std::string& out, std::string_view text, std::size_t width) {
  std::string field(text.substr(0, width));
  field.resize(width, ' ');
  out += field;
}

inline void appendCString(std::string& out, std::string_view text) {
  out += text;
  out.push_back('\0');
}

}  // namespace quorvanta::sim
