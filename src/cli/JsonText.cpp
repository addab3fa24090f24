#include "cli/JsonText.h"

#include <cstdio>

namespace quorvanta::cli {

namespace {

// Length of the well-formed UTF-8 sequence at `text[i]`, or 0.
std::size_t utf8SequenceLength(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
  const unsigned char lead = byte(0);
  const std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                             : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                            : 0;
  if (length == 0 || i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(k) & 0xC0) != 0x80) return 0;
  }
  // No overlong forms, surrogates or code points above U+10FFFF.
  const unsigned char second = byte(1);
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) ||
      (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90)) {
    return 0;
  }
  return length;
}

}  // namespace

std::string jsonString(std::string_view text) {
  std::string json = "\"";
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '"' || c == '\\') {
      json += '\\';
      json += static_cast<char>(c);
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      json += escaped;
    } else if (c < 0x80) {
      json += static_cast<char>(c);
    } else if (const std::size_t length = utf8SequenceLength(text, i)) {
      json.append(text.substr(i, length));
      i += length;
      continue;
    } else {
      json += static_cast<char>(0xC0 | (c >> 6));
      json += static_cast<char>(0x80 | (c & 0x3F));
    }
    ++i;
  }
  return json + "\"";
}

std::string jsonNumber(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

std::string jsonBool(bool value) { return value ? "true" : "false"; }

}  // namespace quorvanta::cli
