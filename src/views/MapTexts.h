#pragma once

#include <optional>
#include <string>
#include <vector>

#include "flight/FlightRecord.h"
#include "views/MapGeometry.h"
#include "views/TerrainModel.h"

namespace quorvanta {

// The fix nearest to a position; of equally near fixes the first. 0 for an
// empty flight.
int nearestFix(const FlightRecord& record, double lat, double lon);

// "hmax: … m    hmin: … m" with the barogram shift when there is one;
// nothing while the flight has no positive altitude.
std::optional<std::string> heightLineText(const FlightRecord& record, double baroOffset);

struct TextLine {
  int y = 0;
  std::string text;
};

// The lines of the info box about fix n; with a terrain model loaded, the
// ground height under the fix follows the altitude.
std::vector<TextLine> infoBoxLines(const FlightRecord& record, int n,
                                   const TerrainModel* terrain = nullptr);

// "Maus:   N 47:30.000   E 11:15.000  " for the position under the mouse,
// with the terrain height there when a model is loaded.
std::string mouseReadoutText(const Position& position, const TerrainModel* terrain = nullptr);

// "N 47:30.000  E 11:15.000" as the info box and the route labels write a
// position (0 counts as south or west there).
std::string positionText(double lat, double lon);

}  // namespace quorvanta
