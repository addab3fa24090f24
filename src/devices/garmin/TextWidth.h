#pragma once

#include <string>

namespace quorvanta::garmin {

// `text` right-aligned in `width` characters; longer text stays whole.
inline std::string rightAligned(std::string text, std::size_t width, char fill = ' ') {
  if (text.size() < width) text.insert(0, width - text.size(), fill);
  return text;
}

inline std::string rightAligned(long long value, std::size_t width, char fill = ' ') {
  return rightAligned(std::to_string(value), width, fill);
}

}  // namespace quorvanta::garmin
