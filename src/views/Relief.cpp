#include "views/Relief.h"

#include <algorithm>
#include <cmath>

#include "flight/Geodesy.h"

namespace quorvanta {

namespace {

std::uint8_t channel(double value) {
  return static_cast<std::uint8_t>(std::clamp(value, 0.0, 255.0));
}

std::uint8_t sineChannel(double angle) { return channel(std::nearbyint(207 * std::sin(angle))); }

Rgb contrastColour(double t) {
  if (t <= 0.3333) return {96, channel(std::trunc(t / 0.3333 * 207)), 207};
  if (t <= 0.5) return {96, 207, channel(std::trunc((0.5 - t) / 0.3333 * 207))};
  if (t <= 0.6666) return {channel(std::trunc(((t - 0.6666) / 0.25 + 1) * 207)), 207, 96};
  return {207, channel(std::trunc((1 - t) / 0.3333 * 207)), 96};
}

int clampedRow(double value, int count) {
  if (!(value > -1e9)) return 0;
  return std::clamp(static_cast<int>(std::nearbyint(std::min(value, 1e9))), 0, count - 1);
}

// Index of a height in the range; a range of one height gives 0.
int heightIndex(double h, const ReliefRange& range) {
  if (range.high <= range.low) return 0;
  const double index = std::trunc((h - range.low) * 1000 / (range.high - range.low));
  return static_cast<int>(std::clamp(index, 0.0, 1000.0));
}

// Grid coordinates far off the grid stay outside without overflowing.
bool representable(double fr, double fc) { return std::fabs(fr) < 1e9 && std::fabs(fc) < 1e9; }

int interpolatedIndex(const TerrainModel& m, double fr, double fc, const ReliefRange& range) {
  if (!representable(fr, fc)) return OutsideIndex;
  const int r = static_cast<int>(fr), c = static_cast<int>(fc);  // toward zero
  if (r > m.DemRows - 2 || r < 0 || c > m.DemCols - 2 || c < 0) return OutsideIndex;
  const double dr = fr - r, dc = fc - c;
  const std::int16_t z[4] = {m.at(r, c), m.at(r, c + 1), m.at(r + 1, c), m.at(r + 1, c + 1)};
  for (const std::int16_t value : z) {
    if (m.isNoData(value)) return NoDataIndex;
  }
  const auto weight = [](double a, double b) {
    const double d = a * a + b * b;
    return 1 / (d * d + 0.1);
  };
  const double w[4] = {weight(dr, dc), weight(dr, 1 - dc), weight(1 - dr, dc), weight(1 - dr, 1 - dc)};
  const double h = std::nearbyint((w[0] * z[0] + w[1] * z[1] + w[2] * z[2] + w[3] * z[3]) /
                                  (w[0] + w[1] + w[2] + w[3]));
  return heightIndex(h, range);
}

int nearestIndex(const TerrainModel& m, double fr, double fc, const ReliefRange& range) {
  if (!representable(fr, fc)) return OutsideIndex;
  const int r = static_cast<int>(std::nearbyint(fr)), c = static_cast<int>(std::nearbyint(fc));
  if (r < 0 || r >= m.DemRows || c < 0 || c >= m.DemCols) return OutsideIndex;
  const std::int16_t z = m.at(r, c);
  return m.isNoData(z) ? NoDataIndex : heightIndex(z, range);
}

std::uint32_t argb(Rgb colour) {
  return 0xff000000u | static_cast<std::uint32_t>(colour.r) << 16 |
         static_cast<std::uint32_t>(colour.g) << 8 | colour.b;
}

}  // namespace

Rgb ReliefColour(double t, int scheme, bool flatland) {
  if (t < 0 || t > 1) t = 0;
  if (flatland) t = std::log10(9 * t + 1);
  switch (scheme) {
    case StandardScheme:
      return {sineChannel(1.5 * Pi * (t - 0.4)), sineChannel(1.2 * Pi * t),
              sineChannel(1.2 * Pi * (t + 0.5))};
    case VividScheme:
      return {sineChannel(5 * Pi * (t - 0.4)), sineChannel(3 * Pi * t), sineChannel(2 * Pi * (t + 0.5))};
    case GreyScheme: {
      const std::uint8_t grey = channel(std::nearbyint(255 * t));
      return {grey, grey, grey};
    }
    default: return contrastColour(t);
  }
}

Rgb HalfColour(Rgb c) {
  return {static_cast<std::uint8_t>(c.r >> 1), static_cast<std::uint8_t>(c.g >> 1),
          static_cast<std::uint8_t>(c.b >> 1)};
}

Rgb ShadeColour(Rgb c) {
  return {channel(std::nearbyint(c.r / 1.5)), channel(std::nearbyint(c.g / 1.5)),
          channel(std::nearbyint(c.b / 1.5))};
}

ReliefColourTable reliefColourTable(const ReliefOptions& options) {
  ReliefColourTable table;
  for (int i = 0; i <= 1000; ++i) {
    table[static_cast<std::size_t>(i)] = ReliefColour(i / 1000.0, options.scheme, options.flatland);
  }
  if (options.contours) {
    for (int band = 0; band <= 9; ++band) {
      for (int i = 100 * band + 1; i <= 100 * band + 10; ++i) {
        table[static_cast<std::size_t>(i)] = HalfColour(table[static_cast<std::size_t>(i)]);
      }
    }
  }
  table[NoDataIndex] = {128, 128, 128};
  table[OutsideIndex] = {0, 0, 0};
  return table;
}

ReliefRange reliefRange(const TerrainModel& m, const MapRect& rect) {
  ReliefRange range;
  if (!m.loaded()) return range;
  const int bottom = clampedRow((m.DemNorth - rect.south) / m.DemLatStep, m.DemRows);
  const int top = clampedRow((m.DemNorth - rect.north) / m.DemLatStep, m.DemRows);
  const int left = clampedRow((rect.west - m.DemWest) / m.DemLonStep, m.DemCols);
  const int right = clampedRow((rect.east - m.DemWest) / m.DemLonStep, m.DemCols);
  for (int r = top; r <= bottom; ++r) {
    for (int c = left; c <= right; ++c) {
      const std::int16_t z = m.at(r, c);
      if (m.isNoData(z)) continue;
      range.high = std::max<int>(range.high, z);
      range.low = std::min<int>(range.low, z);
    }
  }
  return range;
}

std::vector<std::int16_t> reliefIndex(const TerrainModel& m, const MapRect& rect, int width,
                                      int height, const ReliefRange& range, bool interpolate,
                                      const std::function<void(int)>& progress) {
  std::vector<std::int16_t> index(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                                  OutsideIndex);
  if (!m.loaded()) return index;
  for (int x = 0; x < width; ++x) {
    if (progress) progress(static_cast<int>(std::nearbyint(x * 100.0 / width)));
    const double lon = rect.west + (rect.east - rect.west) * x / width;
    const double fc = (lon - m.DemWest) / m.DemLonStep;
    std::int16_t* column = index.data() + static_cast<std::size_t>(x) * static_cast<std::size_t>(height);
    for (int y = 0; y < height; ++y) {
      const double lat = rect.south + (rect.north - rect.south) * (height - y) / height;
      const double fr = (m.DemNorth - lat) / m.DemLatStep;
      column[y] = static_cast<std::int16_t>(interpolate ? interpolatedIndex(m, fr, fc, range)
                                                        : nearestIndex(m, fr, fc, range));
    }
  }
  return index;
}

void writeReliefPixels(const std::vector<std::int16_t>& index, int width, int height,
                       const ReliefColourTable& colours, bool shading, std::uint32_t* pixels,
                       std::size_t stride) {
  std::array<std::uint32_t, 1003> plain{}, shaded{};
  for (std::size_t i = 0; i < colours.size(); ++i) {
    plain[i] = argb(colours[i]);
    shaded[i] = argb(ShadeColour(colours[i]));
  }
  const auto at = [&](int x, int y) {
    return index[static_cast<std::size_t>(x) * static_cast<std::size_t>(height) + static_cast<std::size_t>(y)];
  };
  for (int y = 0; y < height; ++y) {
    std::uint32_t* row = pixels + static_cast<std::size_t>(y) * stride;
    for (int x = 0; x < width; ++x) {
      const int a = at(x, y);
      const bool dark = shading && x < width - 1 && y < height - 1 &&
                        4 * a - at(x, y + 1) - at(x + 1, y) - 2 * at(x + 1, y + 1) > 20;
      row[x] = (dark ? shaded : plain)[static_cast<std::size_t>(a)];
    }
  }
}

}  // namespace quorvanta
