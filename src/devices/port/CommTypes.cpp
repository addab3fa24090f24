#include "devices/port/CommTypes.h"

#include <array>
#include <system_error>

namespace quorvanta {

namespace {

struct LineError {
  int flag;
  const char* text;
};

// The flags in the order the windows test them.
constexpr std::array<LineError, 10> LineErrors = {{
    {0x0010, "The hardware detected a break condition."},
    {0x0800, "Windows 95 only: A parallel device is not selected."},
    {0x0008, "The hardware detected a framing error."},
    {0x0400, "An I/O error occurred during communications with the device."},
    {0x8000, "The requested mode is not supported."},
    {0x1000, "Windows 95 only: A parallel device signaled that it is out of paper."},
    {0x0002, "A character-buffer overrun has occurred. The next character is lost."},
    {0x0200, "Windows 95 only: A time-out occurred on a parallel device."},
    {0x0001, "An input buffer overflow has occurred."},
    {0x0004, "The hardware detected a parity error."},
}};

constexpr const char* OutputOverflow = "Transmit buffer overflow.";

}  // namespace

std::vector<std::string> lineErrorLines(int errors) {
  std::vector<std::string> lines;
  for (const LineError& error : LineErrors) {
    if (errors & error.flag) lines.emplace_back(error.text);
  }
  if (errors & 0x0100) lines.emplace_back(OutputOverflow);
  return lines;
}

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
