#pragma once

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

}  // namespace quorvanta
