#include "views/TerrainModel.h"

#include <cmath>

#include "flight/FieldText.h"
#include "flight/FileContent.h"
#include "flight/Geodesy.h"
#include "flight/TextLines.h"

namespace quorvanta {

namespace {

// Grids beyond this many cells are refused rather than allocated.
constexpr std::int64_t MaxCells = std::int64_t{1} << 28;

// The number of a header line: the word after the label. The label field is
// ten characters, but real headers pad it wider, so the number is taken as
// the second word, or the text after column 10 of a line without a blank.
std::string_view numberText(std::string_view line) {
  const std::size_t labelEnd = line.find_first_of(" \t");
  if (labelEnd == std::string_view::npos) return line.size() > 10 ? line.substr(10) : "";
  std::string_view rest = line.substr(labelEnd);
  const std::size_t start = rest.find_first_not_of(" \t");
  if (start == std::string_view::npos) return {};
  rest = rest.substr(start);
  return rest.substr(0, rest.find_first_of(" \t"));
}

int roundedIndex(double value) {
  if (!(value > -1e9) || value > 1e9) return -1;
  return static_cast<int>(std::nearbyint(value));
}

}  // namespace

std::optional<std::int32_t> TerrainModel::DemHeightAt(double lat, double lon) const {
  if (!loaded()) return std::nullopt;
  const int row = roundedIndex((DemNorth - lat) / DemLatStep);
  const int col = roundedIndex((lon - DemWest) / DemLonStep);
  if (row < 0 || row >= DemRows || col < 0 || col >= DemCols) return std::nullopt;
  const std::int16_t value = at(row, col);
  if (isNoData(value)) return std::nullopt;
  return value;
}

std::int32_t TerrainModel::groundElevation(double lat, double lon) const {
  if (roundedIndex((DemNorth - lat) / DemLatStep) < 2 ||
      roundedIndex((lon - DemWest) / DemLonStep) < 2) {
    return 0;
  }
  return DemHeightAt(lat, lon).value_or(0);
}

std::optional<std::string> parseDemHeader(std::string_view text, TerrainModel& model) {
  const std::vector<std::string> lines = splitLines(text);
  if (lines.size() < 14) return "der Kopf hat weniger als 14 Zeilen";
  const auto whole = [&](int line) { return integerField(numberText(lines[static_cast<std::size_t>(line - 1)])); };
  const auto decimal = [&](int line) { return decimalField(numberText(lines[static_cast<std::size_t>(line - 1)])); };
  const auto rows = whole(3), cols = whole(4), noData = whole(10);
  const auto west = decimal(11), north = decimal(12), lonStep = decimal(13), latStep = decimal(14);
  if (!rows || !cols || !noData) return "Zeilenzahl, Spaltenzahl oder NODATA ist keine ganze Zahl";
  if (!west || !north || !lonStep || !latStep) return "Position oder Rasterweite ist keine Zahl";
  if (*rows < 1 || *cols < 1 || std::int64_t{*rows} * *cols > MaxCells) {
    return "unmögliche Rastergröße " + std::to_string(*rows) + " x " + std::to_string(*cols);
  }
  if (*lonStep <= 0 || *latStep <= 0) return "die Rasterweite muss positiv sein";
  model.DemRows = *rows;
  model.DemCols = *cols;
  model.DemNoData = *noData;
  model.DemWest = *west * DegToRad;
  model.DemNorth = *north * DegToRad;
  model.DemLonStep = *lonStep * DegToRad;
  model.DemLatStep = *latStep * DegToRad;
  return std::nullopt;
}

std::optional<std::string> loadTerrainModel(const std::string& basePath, TerrainModel& model) {
  const std::string headerPath = basePath + ".hdr", gridPath = basePath + ".dem";
  std::string header, grid;
  if (auto failure = readWholeFile(headerPath, header)) return failure;
  TerrainModel next;
  if (auto failure = parseDemHeader(header, next)) {
    return "Die Datei „" + headerPath + "“ ist kein Höhenmodell-Kopf: " + *failure;
  }
  if (auto failure = readWholeFile(gridPath, grid)) return failure;
  const auto cells = static_cast<std::size_t>(next.DemRows) * static_cast<std::size_t>(next.DemCols);
  if (grid.size() < 2 * cells) {
    return "Die Datei „" + gridPath + "“ ist zu kurz: " + std::to_string(grid.size()) +
           " Bytes statt " + std::to_string(2 * cells);
  }
  next.DemGrid.resize(cells);
  for (std::size_t i = 0; i < cells; ++i) {
    const auto high = static_cast<unsigned char>(grid[2 * i]);
    const auto low = static_cast<unsigned char>(grid[2 * i + 1]);
    next.DemGrid[i] = static_cast<std::int16_t>(static_cast<std::uint16_t>(high << 8 | low));
  }
  model = std::move(next);
  return std::nullopt;
}

}  // namespace quorvanta
