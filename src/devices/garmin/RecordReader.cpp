#include "devices/garmin/RecordReader.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace quorvanta::garmin {

namespace {

template <typename T>
std::optional<T> littleEndian(std::optional<std::string_view> bytes) {
  if (!bytes) return std::nullopt;
  std::uint32_t value = 0;
  for (std::size_t i = bytes->size(); i-- > 0;) {
    value = value << 8 | static_cast<std::uint8_t>((*bytes)[i]);
  }
  if constexpr (sizeof(T) == sizeof(std::uint32_t)) {
    T result;
    std::memcpy(&result, &value, sizeof result);
    return result;
  } else {
    return static_cast<T>(value);
  }
}

}  // namespace

std::optional<std::uint8_t> RecordReader::byte() { return littleEndian<std::uint8_t>(take(1)); }

std::optional<std::uint16_t> RecordReader::word() { return littleEndian<std::uint16_t>(take(2)); }

std::optional<std::int16_t> RecordReader::int16() { return littleEndian<std::int16_t>(take(2)); }

std::optional<std::int32_t> RecordReader::int32() { return littleEndian<std::int32_t>(take(4)); }

std::optional<float> RecordReader::float32() { return littleEndian<float>(take(4)); }

std::optional<std::string> RecordReader::text(std::size_t size) {
  if (remaining() == 0) return std::nullopt;
  std::string_view field = data_.substr(position_, size);
  position_ += field.size();
  field = field.substr(0, field.find('\0'));
  while (!field.empty() && field.back() == ' ') field.remove_suffix(1);
  return unitText(field);
}

std::optional<std::string> RecordReader::cText() {
  if (remaining() == 0) return std::nullopt;
  const std::string_view rest = data_.substr(position_);
  const std::size_t end = rest.find('\0');
  position_ = end == std::string_view::npos ? data_.size() : position_ + end + 1;
  return unitText(rest.substr(0, end));
}

void RecordReader::skip(std::size_t size) { position_ += std::min(size, remaining()); }

std::optional<std::string_view> RecordReader::take(std::size_t size) {
  if (remaining() < size) {
    position_ = data_.size();
    return std::nullopt;
  }
  const std::string_view bytes = data_.substr(position_, size);
  position_ += size;
  return bytes;
}

std::string unitText(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (char c : bytes) {
    const auto byte = static_cast<std::uint8_t>(c);
    if (byte < 0x20 || byte == 0x7F || (byte >= 0x80 && byte < 0xA0)) {
      text += '?';
    } else if (byte < 0x80) {
      text += c;
    } else {
      text += static_cast<char>(0xC0 | byte >> 6);
      text += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return text;
}

std::string semicircleDegreesText(std::int32_t semicircles) {
  const double degrees = semicircles * 180.0 / 2147483648.0;
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, degrees, std::chars_format::fixed, 6);
  return std::string(text, end.ptr);
}

}  // namespace quorvanta::garmin
