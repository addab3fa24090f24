#include "views/MapDescription.h"

#include <cmath>

#include "flight/FieldText.h"
#include "flight/Geodesy.h"
#include "flight/TextLines.h"
#include "views/PixelMath.h"

namespace quorvanta {

namespace {

std::string_view trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

// The whole number at the start of a text (after an optional sign); 0 when
// there is none.
long long leadingWhole(std::string_view text) {
  std::size_t i = text.starts_with('-') || text.starts_with('+') ? 1 : 0;
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && value < 1000000000; ++i) {
    value = value * 10 + (text[i] - '0');
  }
  return text.starts_with('-') ? -value : value;
}

std::string_view afterDot(std::string_view text) {
  const std::size_t dot = text.find('.');
  return dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
}

}  // namespace

double dmsDegrees(std::string_view text) {
  const bool south = text.find('-') != std::string_view::npos;
  std::string_view rest = trimmed(text);
  const double d = static_cast<double>(std::llabs(leadingWhole(rest)));
  rest = afterDot(rest);
  const double m = static_cast<double>(std::llabs(leadingWhole(rest)));
  rest = afterDot(rest);
  const double s = static_cast<double>(std::llabs(leadingWhole(rest)));
  const double degrees = d + m / 60 + s / 3600;
  return south ? -degrees : degrees;
}

double secondsPerPixel(std::string_view text) {
  text = trimmed(text);
  const double whole = static_cast<double>(leadingWhole(text));
  std::string_view fraction = afterDot(text).substr(0, 7);
  std::size_t digits = 0;
  while (digits < fraction.size() && fraction[digits] >= '0' && fraction[digits] <= '9') ++digits;
  fraction = fraction.substr(0, digits);
  return whole + static_cast<double>(leadingWhole(fraction)) / std::pow(10.0, fraction.size());
}

MapDescription parseMapDescription(std::string_view content) {
  MapDescription map;
  bool inMap = false;
  for (const std::string& raw : splitLines(content)) {
    const std::string_view line = trimmed(raw);
    if (line.starts_with('[')) {
      inMap = toLower(line) == "[map]";
      continue;
    }
    const std::size_t equals = line.find('=');
    if (!inMap || equals == std::string_view::npos) continue;
    const std::string key = toLower(trimmed(line.substr(0, equals)));
    const std::string_view value = trimmed(line.substr(equals + 1));
    if (key == "filename") map.fileName = std::string(value);
    if (key == "toplatitude") map.topLat = dmsDegrees(value) * DegToRad;
    if (key == "toplongitude") map.topLon = dmsDegrees(value) * DegToRad;
    if (key == "latsecperpixel") map.latPerPixel = secondsPerPixel(value) / 3600 * DegToRad;
    if (key == "longsecperpixel") map.lonPerPixel = secondsPerPixel(value) / 3600 * DegToRad;
    if (key == "pixwidth") map.pixWidth = static_cast<int>(leadingWhole(value));
    if (key == "pixheight") map.pixHeight = static_cast<int>(leadingWhole(value));
  }
  return map;
}

MapPlacement placeMap(const MapDescription& map, const MapRect& rect, int width, int height) {
  const double latPerScreenPixel = (rect.north - rect.south) / height;
  const double lonPerScreenPixel = (rect.east - rect.west) / width;
  MapPlacement placement;
  placement.top = roundedPixel((rect.north - map.topLat) / latPerScreenPixel);
  placement.bottom =
      placement.top + roundedPixel(map.latPerPixel / latPerScreenPixel * map.pixHeight);
  placement.left = roundedPixel((map.topLon - rect.west) / lonPerScreenPixel);
  placement.right =
      placement.left + roundedPixel(map.lonPerPixel / lonPerScreenPixel * map.pixWidth);
  placement.overzoomed = map.lonPerPixel / lonPerScreenPixel > 3;
  return placement;
}

}  // namespace quorvanta
