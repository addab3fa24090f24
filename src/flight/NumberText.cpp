#include "flight/NumberText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace quorvanta {

namespace {

char uiDecimalSeparator = '.';

struct DecimalDigits {
  bool negative = false;
  std::string digits;  // significant digits, no leading zero
  int exponent = 0;    // value = 0.d1d2d3... * 10^exponent
};

DecimalDigits significantDigits(double value, int precision) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*e", precision - 1, value);
  DecimalDigits result;
  std::string_view view(text);
  if (view.front() == '-') {
    result.negative = true;
    view.remove_prefix(1);
  }
  const auto e = view.find('e');
  for (char c : view.substr(0, e)) {
    if (c != '.') result.digits += c;
  }
  result.exponent = std::atoi(text + (view.data() - text) + e + 1) + 1;
  while (result.digits.size() > 1 && result.digits.back() == '0') result.digits.pop_back();
  if (result.digits == "0") result.exponent = 0;
  return result;
}

std::string scientificText(const DecimalDigits& number, int precision) {
  std::string text = number.negative ? "-" : "";
  std::string digits = number.digits;
  digits.resize(static_cast<std::size_t>(precision), '0');
  text += digits.substr(0, 1);
  if (precision > 1) text += uiDecimalSeparator + digits.substr(1);
  char exponent[16];
  std::snprintf(exponent, sizeof exponent, "E%+04d", number.exponent - 1);
  return text + exponent;
}

// Rounds the digit string half up so that `decimals` digits follow the point.
std::string fixedDigits(const DecimalDigits& number, int decimals) {
  // Integer part and fraction as one digit string with an implied point.
  const int integerDigits = std::max(number.exponent, 0);
  std::string all(static_cast<std::size_t>(integerDigits + decimals), '0');
  for (std::size_t i = 0; i < number.digits.size(); ++i) {
    const int position = number.exponent - 1 - static_cast<int>(i);  // power of ten
    const int index = integerDigits - 1 - position;
    if (index >= 0 && index < static_cast<int>(all.size())) {
      all[static_cast<std::size_t>(index)] = number.digits[i];
    } else if (index == static_cast<int>(all.size()) && number.digits[i] >= '5') {
      // first cut digit decides the rounding
      int carry = static_cast<int>(all.size()) - 1;
      while (carry >= 0 && all[static_cast<std::size_t>(carry)] == '9') {
        all[static_cast<std::size_t>(carry--)] = '0';
      }
      if (carry >= 0) {
        ++all[static_cast<std::size_t>(carry)];
      } else {
        all.insert(all.begin(), '1');
      }
      break;
    }
  }
  const std::size_t pointAt = all.size() - static_cast<std::size_t>(decimals);
  std::string text = pointAt > 0 ? all.substr(0, pointAt) : std::string(1, '0');
  if (decimals > 0) (text += uiDecimalSeparator) += all.substr(pointAt);
  return text;
}

}  // namespace

char decimalSeparator() { return uiDecimalSeparator; }

void setDecimalSeparator(char separator) { uiDecimalSeparator = separator; }

std::string fixedText(double value, int decimals, int precision) {
  if (!std::isfinite(value)) return std::isnan(value) ? "NAN" : (value > 0 ? "INF" : "-INF");
  const DecimalDigits number = significantDigits(value, precision);
  if (number.exponent > precision) return scientificText(number, precision);
  std::string text = fixedDigits(number, decimals);
  const bool allZero = text.find_first_not_of(std::string("0") + uiDecimalSeparator) ==
                       std::string::npos;
  if (!number.negative || allZero) return text;
  std::string signedText(1, '-');
  return signedText += text;
}

std::string generalText(double value) {
  char text[40];
  for (int digits = 1; digits <= 15; ++digits) {
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    if (std::strtod(text, nullptr) == value) break;
  }
  std::string result(text);
  for (char& c : result) {
    if (c == '.') c = uiDecimalSeparator;
  }
  return result;
}

}  // namespace quorvanta
