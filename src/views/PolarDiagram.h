#pragma once

#include "views/AnalysisState.h"

namespace quorvanta {

enum class PolarKind { Velocity, Polar };  // "Geschwindigkeit", "Polare"

// Fixes with a point in the diagram: segments 1..n-1 for the velocity,
// 2..n-1 for the polar curve.
inline int firstPolarPoint(PolarKind kind) { return kind == PolarKind::Velocity ? 1 : 2; }

// Recomputes the points (unless KeepSeries: then only the scales), the title
// and both axes into the shared state.
void computePolar(const FlightRecord& record, PolarKind kind, int colourMode, AnalysisState& state);

// One pass of the three-point mean over both series.
void smoothPolar(const FlightRecord& record, AnalysisState& state);

}  // namespace quorvanta
