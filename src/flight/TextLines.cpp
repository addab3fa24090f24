#include "flight/TextLines.h"

namespace quorvanta {

namespace {

std::vector<std::string> crLinesOf(std::string_view content) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < content.size()) {
    const std::size_t cr = content.find('\r', start);
    if (cr == std::string_view::npos) {
      lines.emplace_back(content.substr(start));
      break;
    }
    lines.emplace_back(content.substr(start, cr - start));
    start = cr + 1;
    if (start < content.size() && content[start] == '\n') ++start;
  }
  return lines;
}

std::string lfAsCrLf(std::string_view content) {
  std::string converted;
  converted.reserve(content.size() + content.size() / 32);
  for (char c : content) {
    if (c == '\n') converted += '\r';
    converted += c;
  }
  return converted;
}

}  // namespace

std::vector<std::string> splitLines(std::string_view content) {
  const std::size_t firstCr = content.find('\r');
  const std::string_view firstLine = content.substr(0, firstCr);
  if (firstLine.find('\n') != std::string_view::npos) return crLinesOf(lfAsCrLf(content));
  return crLinesOf(content);
}

std::vector<std::string> crLines(std::string_view content) { return crLinesOf(content); }

}  // namespace quorvanta
