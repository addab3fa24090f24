// A terrain model: the header text, a NUL byte, then the grid file's bytes.
// Read, loaded and asked for elevations, inside the grid and far off it.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

#include "FuzzSupport.h"
#include "views/TerrainModel.h"

namespace quorvanta {
namespace {

using fuzz::require;

// What a refused header or grid must leave untouched.
TerrainModel sentinel() {
  TerrainModel model;
  model.DemRows = model.DemCols = 1;
  model.DemNoData = -1;
  model.DemLatStep = model.DemLonStep = 1;
  model.DemGrid = {42};
  return model;
}

bool sameModel(const TerrainModel& a, const TerrainModel& b) {
  return a.DemRows == b.DemRows && a.DemCols == b.DemCols && a.DemNoData == b.DemNoData &&
         a.DemWest == b.DemWest && a.DemNorth == b.DemNorth && a.DemLonStep == b.DemLonStep &&
         a.DemLatStep == b.DemLatStep && a.DemGrid == b.DemGrid;
}

void checkHeader(const TerrainModel& model) {
  require(model.DemRows >= 1 && model.DemCols >= 1, "a grid has rows and columns");
  require(std::int64_t{model.DemRows} * model.DemCols <= std::int64_t{1} << 28,
          "a grid is no larger than the limit");
  require(std::isfinite(model.DemWest) && std::isfinite(model.DemNorth),
          "the grid lies at finite angles");
  require(std::isfinite(model.DemLonStep) && std::isfinite(model.DemLatStep) &&
              model.DemLonStep > 0 && model.DemLatStep > 0,
          "the grid steps are positive");
}

// An elevation is a cell of the grid that has data; a ground elevation is
// that or 0.
void checkElevation(const TerrainModel& model, double lat, double lon) {
  const auto height = model.DemHeightAt(lat, lon);
  if (height) {
    require(!model.isNoData(static_cast<std::int16_t>(*height)), "no elevation where no data");
    require(std::find(model.DemGrid.begin(), model.DemGrid.end(), *height) != model.DemGrid.end(),
            "an elevation is a cell of the grid");
  }
  const std::int32_t ground = model.groundElevation(lat, lon);
  require(ground == 0 || ground == height, "a ground elevation is the cell's or 0");
}

void checkLoaded(const TerrainModel& model, std::string_view grid) {
  checkHeader(model);
  const auto cells = static_cast<std::size_t>(model.DemRows) * static_cast<std::size_t>(model.DemCols);
  require(model.DemGrid.size() == cells, "the grid holds every cell");
  const auto cellAt = [&](std::size_t i) {
    const auto high = static_cast<unsigned char>(grid[2 * i]);
    const auto low = static_cast<unsigned char>(grid[2 * i + 1]);
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(high << 8 | low));
  };
  require(model.at(0, 0) == cellAt(0) && model.DemGrid.back() == cellAt(cells - 1),
          "cells are big-endian pairs of bytes, row by row");
  const auto first = model.DemHeightAt(model.DemNorth, model.DemWest);
  require(first ? *first == model.at(0, 0) : model.isNoData(model.at(0, 0)),
          "the north-west corner has the first cell's elevation");
  const double south = model.DemNorth - (model.DemRows - 1) * model.DemLatStep;
  const double east = model.DemWest + (model.DemCols - 1) * model.DemLonStep;
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const double lat : {model.DemNorth, south, (model.DemNorth + south) / 2, 1e300, -inf, nan}) {
    for (const double lon : {model.DemWest, east, (model.DemWest + east) / 2, -1e300, inf, nan}) {
      checkElevation(model, lat, lon);
    }
  }
}

}  // namespace
}  // namespace quorvanta

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvanta;
  const std::string_view input = fuzz::textOf(data, size);
  const std::size_t marker = input.find('\0');
  const std::string_view header = input.substr(0, marker);
  const std::string_view grid =
      marker == std::string_view::npos ? std::string_view() : input.substr(marker + 1);

  TerrainModel parsed = sentinel();
  if (parseDemHeader(header, parsed)) {
    require(sameModel(parsed, sentinel()), "a refused header leaves the model as it was");
    return 0;
  }
  checkHeader(parsed);

  fuzz::scratch().write("terrain.hdr", header);
  fuzz::scratch().write("terrain.dem", grid);
  TerrainModel model = sentinel();
  if (loadTerrainModel((fuzz::scratch().path() / "terrain").string(), model)) {
    require(sameModel(model, sentinel()), "a refused grid leaves the model as it was");
    return 0;
  }
  parsed.DemGrid = model.DemGrid;
  require(sameModel(model, parsed), "loading reads the header as parsing does");
  checkLoaded(model, grid);
  return 0;
}
