#pragma once

#include <string>

#include "flight/FlightRecord.h"
#include "views/AxisScale.h"
#include "views/TrackColour.h"

namespace quorvanta {

// What the barogram, polar and statistics windows share for the whole run:
// the plotted series, its colours and axis, and the polar diagram's x values.
// The windows themselves are created anew at every opening.
struct AnalysisState {
  FixArray<double> BaroSeries;
  FixArray<Rgb> SeriesColour;
  FixArray<Rgb> CircleColour;
  std::string SeriesUnit = " m";
  std::string title;
  bool NeedRecompute = true;
  bool KeepSeries = false;
  bool ShowCircles = false;
  bool circlesAnalysed = false;  // the colour button is shown
  int SelectedExt = 1;
  AxisScale axis;
  int RightCircles = 0, LeftCircles = 0;

  FixArray<double> PolarXSeries;
  AxisScale polarAxis;
  std::string polarTitle;
  bool PolarRecompute = true;
};

}  // namespace quorvanta
