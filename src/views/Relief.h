#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "views/MapGeometry.h"
#include "views/TerrainModel.h"
#include "views/TrackColour.h"

namespace quorvanta {

enum ReliefScheme : int { ContrastScheme = 1, StandardScheme = 2, GreyScheme = 3, VividScheme = 999 };

struct ReliefOptions {
  int scheme = StandardScheme;
  bool flatland = false;     // "Relief: Flachlandoptimiert": low heights spread out
  bool interpolate = true;   // "Relief interpolieren"
  bool contours = false;     // "Höhenlinien darstellen"
  bool shading = false;      // "Relief schattieren"
};

inline constexpr int OutsideIndex = 1001;
inline constexpr int NoDataIndex = 1002;
using ReliefColourTable = std::array<Rgb, 1003>;

// The colour of a relative height t (0..1) in a scheme.
Rgb ReliefColour(double t, int scheme, bool flatland);
Rgb HalfColour(Rgb colour);
Rgb ShadeColour(Rgb colour);

// Index -> colour: heights 0..1000 (with dark contour bands when asked),
// black outside the grid, grey next to a cell without data.
ReliefColourTable reliefColourTable(const ReliefOptions& options);

// Lowest and highest valid elevation of the grid cells under the map
// (10000 and -10000 when there is none).
struct ReliefRange {
  int low = 10000, high = -10000;
};
ReliefRange reliefRange(const TerrainModel& model, const MapRect& rect);

// Colour index per map pixel, stored x * height + y; `progress` gets 0..100
// per pixel column.
std::vector<std::int16_t> reliefIndex(const TerrainModel& model, const MapRect& rect, int width,
                                      int height, const ReliefRange& range, bool interpolate,
                                      const std::function<void(int)>& progress = {});

// Writes the relief as 0xffRRGGBB pixels, row by row, into `pixels` (rows
// `stride` pixels apart), shading south-east slopes when asked.
void writeReliefPixels(const std::vector<std::int16_t>& index, int width, int height,
                       const ReliefColourTable& colours, bool shading, std::uint32_t* pixels,
                       std::size_t stride);

}  // namespace quorvanta
