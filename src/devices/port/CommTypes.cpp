#include "devices/port/CommTypes.h"

#include <system_error>

namespace quorvanta {

int baudrateBitsPerSecond(TVaBaudrate baudrate) {
  static constexpr int rates[] = {0,     110,   300,   600,   1200,   2400,   4800,   9600,
                                  14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000};
  const int index = static_cast<int>(baudrate);
  return index >= 0 && index < static_cast<int>(std::size(rates)) ? rates[index] : 0;
}

std::string errorText(int code) { return std::generic_category().message(code); }

std::string fillPattern(std::string_view pattern, int number,
                        std::optional<std::string_view> text) {
  std::string filled;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
    if (pattern[i] == '%' && next == 'd') {
      filled += std::to_string(number);
      ++i;
    } else if (pattern[i] == '%' && next == 's' && text) {
      filled += *text;
      ++i;
    } else if (pattern[i] == '%' && next == '%') {
      filled += '%';
      ++i;
    } else {
      filled += pattern[i];
    }
  }
  return filled;
}

std::string commErrorMessage(std::string_view pattern, int code) {
  return fillPattern(pattern, code, errorText(code));
}

}  // namespace quorvanta
