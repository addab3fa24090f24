#pragma once

#include <QImage>
#include <QPainter>

#include "app/MapPainter.h"
#include "views/AnalysisState.h"
#include "views/FlightSketch3d.h"
#include "views/IntervalStatistics.h"
#include "views/PolarDiagram.h"

namespace quorvanta {

// Each plot of the analysis windows on any painter of the given size; each
// returns every text it drew, in drawing order. Axis labels that would crowd
// each other are thinned to every n-th step, keeping the first and the last.
PaintedTexts paintBarogram(QPainter& painter, QSize size, const FlightRecord& record,
                           const AnalysisState& state, bool baroShown);
PaintedTexts paintPolar(QPainter& painter, QSize size, const FlightRecord& record,
                        const AnalysisState& state, PolarKind kind);
PaintedTexts paintIntervalStatistics(QPainter& painter, QSize size, const IntervalHistogram& histogram);
PaintedTexts paintPerspective(QPainter& painter, QSize size, const PerspectiveSketch& sketch);

}  // namespace quorvanta
