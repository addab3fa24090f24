#pragma once

#include <cstdint>
#include <string>

namespace quorvanta::garmin {

// Garmin's English names of waypoint symbols and classes; a number without a
// name gives "Symbol n" or "Klasse n".

// The 16 symbols of the older waypoint formats (D103, D107).
std::string basicSymbolName(unsigned symbol);

// The 16-bit symbol numbering of the later formats (D154 and others).
std::string symbolName(std::uint16_t symbol);

// The waypoint classes of D154.
std::string waypointClassName(unsigned waypointClass);

}  // namespace quorvanta::garmin
