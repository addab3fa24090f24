#pragma once

#include <string>
#include <string_view>

#include "devices/garmin/GarminSession.h"

namespace quorvanta::garmin {

// Appends to the display; its oldest lines go beyond 2000 characters.
void appendDisplay(GarminView& view, std::string_view text);

// Appends to the RX window; its oldest characters go, 100 at a time, beyond
// 1000 characters.
void appendRx(GarminView& view, std::string_view text);

// Appends to the TX window; its oldest lines go beyond 1000 characters.
void appendTx(GarminView& view, std::string_view text);

// Bytes as the RX and TX windows show them: printable ASCII as it is, every
// other byte as "#", its decimal value and a blank.
std::string byteText(std::string_view bytes);

// The status text of a transfer-complete packet for its command code.
std::string transferCompleteText(int command, int count);

}  // namespace quorvanta::garmin
