#pragma once

#include <string>

#include <QString>

#include "app/UserDialogs.h"
#include "flight/FlightRecord.h"
#include "views/AnalysisState.h"

namespace quorvanta {

// What the analysis windows work on: the flight (whose time window they
// change), the state they share for the run and the map's colour coding.
struct AnalysisContext {
  FlightRecord& record;
  AnalysisState& state;
  int colourMode = 0;
  QString tempDir;  // for the circle report, with a closing "/"
  UserDialogs& dialogs;
};

// Pixels kept free between two controls of an analysis window.
constexpr int ControlGap = 4;

// The window caption with the flight title after nine blanks, added once:
// not again when the caption names the pilot or holds the title already.
inline QString captionWithFlightTitle(const QString& caption, const std::string& flightTitle) {
  const QString title = QString::fromStdString(flightTitle);
  if (caption.toUpper().contains("PILOT") || (!title.isEmpty() && caption.endsWith(title))) return caption;
  return caption + "         " + title;
}

}  // namespace quorvanta
