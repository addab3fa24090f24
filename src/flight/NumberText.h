#pragma once

#include <string>

namespace quorvanta {

// Every number shown on screen is formatted here, with the decimal separator
// of the user-interface locale. Numbers written to files never come here:
// files always use ".".
char decimalSeparator();
void setDecimalSeparator(char separator);

// Fixed-point text with `decimals` digits after the separator. The value is
// first cut to `precision` significant digits, then rounded half away from
// zero at the last shown decimal; a value with more than `precision` integer
// digits is shown in scientific form instead (d.ddE+nnn).
std::string fixedText(double value, int decimals, int precision = 15);

// The shortest text that reads back as the value (at most 15 significant
// digits), without exponent for ordinary magnitudes: 12.345, 0.5, 0.
std::string generalText(double value);

}  // namespace quorvanta
