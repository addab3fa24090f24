#pragma once

#include <QImage>
#include <QPainter>

#include "views/AnalysisState.h"
#include "views/FlightSketch3d.h"
#include "views/IntervalStatistics.h"
#include "views/PolarDiagram.h"

namespace quorvanta {

// Each plot of the analysis windows on any painter of the given size.
void paintBarogram(QPainter& painter, QSize size, const FlightRecord& record,
                   const AnalysisState& state, bool baroShown);
void paintPolar(QPainter& painter, QSize size, const FlightRecord& record, const AnalysisState& state,
                PolarKind kind);
void paintIntervalStatistics(QPainter& painter, QSize size, const IntervalHistogram& histogram);
void paintPerspective(QPainter& painter, QSize size, const PerspectiveSketch& sketch);

}  // namespace quorvanta
