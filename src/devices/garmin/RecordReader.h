#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvanta::garmin {

// Reads the little-endian fields of a record in order. A field that does not
// fit into the bytes left gives nothing and ends the reading, so a short or
// garbled record can never be read past its end.
class RecordReader {
 public:
  explicit RecordReader(std::string_view data) : data_(data) {}

  std::optional<std::uint8_t> byte();
  std::optional<std::uint16_t> word();
  std::optional<std::int16_t> int16();
  std::optional<std::int32_t> int32();
  std::optional<float> float32();
  // A fixed-size text field: the bytes that are left of it, cut at the first
  // NUL, trailing blanks removed. Nothing when no byte is left.
  std::optional<std::string> text(std::size_t size);
  // A NUL-terminated text; the rest of the record when the NUL is missing.
  std::optional<std::string> cText();
  void skip(std::size_t size);
  std::size_t remaining() const { return data_.size() - position_; }

 private:
  std::optional<std::string_view> take(std::size_t size);

  std::string_view data_;
  std::size_t position_ = 0;
};

// A text from the unit as UTF-8: its bytes are Latin-1, control characters
// become "?", so no text from the unit can break a display or transcript line.
std::string unitText(std::string_view bytes);

// A position in semicircles (2^31 = 180 degrees) as degrees with 6 decimals.
std::string semicircleDegreesText(std::int32_t semicircles);

}  // namespace quorvanta::garmin
