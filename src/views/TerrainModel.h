#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvanta {

// A regular latitude/longitude grid of elevations, as GTOPO30-style tiles
// hold it: row 0 is the northernmost, column 0 the westernmost; angles are
// radians at cell centres.
struct TerrainModel {
  std::int32_t DemRows = 0, DemCols = 0;
  std::int32_t DemNoData = 0;
  double DemWest = 0, DemNorth = 0;
  double DemLonStep = 0, DemLatStep = 0;
  std::vector<std::int16_t> DemGrid;  // DemRows x DemCols, row by row

  bool loaded() const { return !DemGrid.empty(); }
  std::int16_t at(int row, int col) const {
    return DemGrid[static_cast<std::size_t>(row) * static_cast<std::size_t>(DemCols) +
                   static_cast<std::size_t>(col)];
  }
  bool isNoData(std::int16_t value) const { return value == DemNoData; }

  // Elevation of the nearest cell; nothing outside the grid or on a cell
  // without data.
  std::optional<std::int32_t> DemHeightAt(double lat, double lon) const;

  // A fix's ground elevation: as DemHeightAt, but 0 in the first two rows and
  // columns, outside the grid and where the grid has no data.
  std::int32_t groundElevation(double lat, double lon) const;
};

// Reads the header (".hdr") into the model's size, no-data value and
// position; a German message says what is wrong.
std::optional<std::string> parseDemHeader(std::string_view text, TerrainModel& model);

// Loads base path + ".hdr" and + ".dem". On any fault the model stays as it
// was and the German message names the file and the fault.
std::optional<std::string> loadTerrainModel(const std::string& basePath, TerrainModel& model);

}  // namespace quorvanta
