#include "flight/FieldText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace quorvanta {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimLeft(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  return text;
}

std::string_view trim(std::string_view text) {
  text = trimLeft(text);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

struct SignedDigits {
  std::optional<std::int32_t> value;
  std::string_view rest;
};

SignedDigits readSignedDigits(std::string_view text) {
  text = trimLeft(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  std::int64_t value = 0;
  std::size_t used = 0;
  while (used < text.size() && isDigit(text[used])) {
    value = value * 10 + (text[used] - '0');
    if (value > std::numeric_limits<std::int32_t>::max() + std::int64_t{1}) return {};
    ++used;
  }
  if (used == 0) return {};
  value = negative ? -value : value;
  if (value > std::numeric_limits<std::int32_t>::max()) return {};
  return {static_cast<std::int32_t>(value), text.substr(used)};
}

}  // namespace

std::string_view columns(std::string_view line, int start, int count) {
  const int first = std::max(start, 1);
  if (count <= 0 || first > static_cast<int>(line.size())) return {};
  return line.substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(count));
}

std::optional<std::int32_t> integerField(std::string_view text) {
  const SignedDigits parsed = readSignedDigits(text);
  return parsed.rest.empty() ? parsed.value : std::nullopt;
}

std::optional<std::int32_t> leadingInteger(std::string_view text) {
  return readSignedDigits(text).value;
}

std::optional<double> decimalField(std::string_view text) {
  text = trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
      !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::string toLower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) {
    return static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
  });
  return lower;
}

std::size_t characterCount(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

}  // namespace quorvanta
