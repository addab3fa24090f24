#pragma once

#include "flight/FlightRecord.h"

namespace quorvanta {

// Recomputes MaxAlt, MinAlt, MaxGroundAlt, MaxClimb, MaxSink and MaxSpeed.
// The first four and the last five fixes are left out, so a flight of fewer
// than ten fixes keeps the start values.
void computeSummaryValues(FlightRecord& record);

}  // namespace quorvanta
