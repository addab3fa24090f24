#include "devices/garmin/GarminScreen.h"

namespace quorvanta::garmin {

namespace {

constexpr std::size_t DisplayLimit = 2000;
constexpr std::size_t RxTxLimit = 1000;
constexpr std::size_t RxCut = 100;

// Drops the text's first line; a text of one line goes whole.
void dropFirstLine(std::string& text) {
  const std::size_t end = text.find('\n');
  text.erase(0, end == std::string::npos ? text.size() : end + 1);
}

bool continuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

void appendDisplay(GarminView& view, std::string_view text) {
  view.display += text;
  while (view.display.size() > DisplayLimit) dropFirstLine(view.display);
}

void appendRx(GarminView& view, std::string_view text) {
  view.rxText += text;
  while (view.rxText.size() > RxTxLimit) {
    std::size_t cut = RxCut;
    // Never cut through a multi-byte character.
    while (cut < view.rxText.size() && continuationByte(view.rxText[cut])) ++cut;
    view.rxText.erase(0, cut);
  }
}

void appendTx(GarminView& view, std::string_view text) {
  view.txText += text;
  while (view.txText.size() > RxTxLimit) dropFirstLine(view.txText);
}

std::string byteText(std::string_view bytes) {
  std::string text;
  for (const char c : bytes) {
    const auto value = static_cast<unsigned char>(c);
    if (value >= 32 && value < 127) {
      text += c;
    } else {
      text += '#';
      text += std::to_string(value);
      text += ' ';
    }
  }
  return text;
}

std::string transferCompleteText(int command, int count) {
  const std::string n = std::to_string(count);
  switch (command) {
    case 1: return "transfer almanac complete (" + n + " Satelliten)";
    case 2: return "transfer position complete";
    case 3: return "transfer proximity waypoints complete";
    case 4: return "transfer route complete (" + n + " Records)";
    case 5: return "transfer time complete";
    case 6: return "transfer track log complete (" + n + " Punkte)";
    case 7: return "transfer waypoints complete (" + n + " Punkte)";
    default: return "";
  }
}

}  // namespace quorvanta::garmin
