#pragma once

#include <initializer_list>
#include <string>

namespace quorvanta::test {

// Bytes written out one by one, as protocol documents list them.
inline std::string bytes(std::initializer_list<int> values) {
  std::string text;
  for (int value : values) text += static_cast<char>(value);
  return text;
}

}  // namespace quorvanta::test
