#pragma once

#include <optional>
#include <string>
#include <vector>

#include "views/AnalysisState.h"

namespace quorvanta {

enum class SeriesKind { Baro, Vario, Speed, Heading, Ext1, Ext2, Ext3 };

// The long name of an extension code ("ENL": "Engine Noise Level"); other
// codes stay as they are.
std::string extensionTitle(const std::string& code);

// Recomputes the series, colours, title and axis of the barogram for the
// chosen kind (only the axis while KeepSeries is set). Returns the circle
// report when the course was analysed for thermal circles; `caption` heads it.
std::optional<std::string> ErsterPlot(const FlightRecord& record, SeriesKind kind, int colourMode,
                                      const std::string& caption, AnalysisState& state);

// Thermal circles on the course series: counts, colours and title in the
// state, and the report text.
std::string analyseCircles(const FlightRecord& record, const std::string& caption,
                           AnalysisState& state);

// One pass of a centred three-point mean over fixes 2 .. n-1.
void smoothSeries(FixArray<double>& series, int count);

// The time window (ViewFirst .. ViewLast) under the popup commands and mouse
// drags; it always keeps at least two fixes.
void zoomTimeIn(FlightRecord& record);
void zoomTimeOut(FlightRecord& record);
void zoomTimeAll(FlightRecord& record);
void panTimeRight(FlightRecord& record);
void panTimeLeft(FlightRecord& record);
void dragTimeZoom(FlightRecord& record, int pressX, int releaseX, int plotLeft, int plotWidth);
void dragTimePan(FlightRecord& record, int pressX, int releaseX, int plotWidth);

// The plot area of an image and the pixel of a fix and of a value.
struct PlotArea {
  int width = 0, height = 0, left = 0;  // PlotWidth, PlotHeight, PlotLeft
};
PlotArea plotArea(int imageWidth, int imageHeight);
int timeX(const PlotArea& area, const FlightRecord& record, int fix);
int valueY(const PlotArea& area, const AxisScale& axis, double value);

// A line of the time axis: the first fix of the view in a new step of the
// clock, and the minute of the day where that step begins.
struct TimeTick {
  int fix = 0;
  int minuteOfDay = 0;
};

// The ticks every `stepMinutes` minutes of the clock (60: each full hour)
// between ViewFirst and ViewLast.
std::vector<TimeTick> timeTicks(const FlightRecord& record, int stepMinutes);

// Full hours while the view reaches two of them; otherwise the smallest
// round step of minutes whose labels, `labelWidth` pixels each, stand side by
// side on a plot `plotWidth` pixels wide (30 when none does).
int timeStep(const FlightRecord& record, int plotWidth, int labelWidth);

// The fix under a mouse x position, and the read-out line about it.
int fixUnderMouse(const PlotArea& area, const FlightRecord& record, int x);
std::string barogramReadout(const FlightRecord& record, const AnalysisState& state, int fix,
                            bool baroShown);

}  // namespace quorvanta
