#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "devices/port/TVaComm.h"
#include "flight/DownloadWriter.h"
#include "flight/IgcHeader.h"

namespace quorvanta::pmlr {

// The line of both windows: 4800 bit/s for the commands, 8N1, no flow
// control, DTR and RTS off.
void configurePort(TVaComm& port);

// The points kept, as the window's three pickers choose them.
struct TimeWindow {
  double start = 0;  // fraction of a day, exclusive
  double end = 0;    // fraction of a day, inclusive
  double date = 0;   // day count
};

struct PmlrDownloadRequest {
  bool renschler = false;       // the Renschler window; else the MLR and Log_it! window
  int speed = 0;                // bit/s of the track transfer; 0: the window's first choice
  std::string device;           // the serial device's path
  std::string transcriptPath;   // the log file; empty: none
  IgcHeaderValues header;       // the directory included
  std::optional<TimeWindow> window;  // nothing: every point
  std::function<double()> now;  // local time as a day count
};

// How often a track with missing records is asked for; a Log_it! asks
// again by itself within each of them.
inline constexpr int MaxTrackRequests = 5;

// Downloads without a window: identifies the instrument, transfers its
// track (asking again while records are missing, as the pilot would), and
// writes the points in the window, or all, as the window does. `report`
// gets status lines in German. The port is closed again whatever happens; a
// failure is the outcome's error.
DownloadOutcome downloadPmlrTrack(const PmlrDownloadRequest& request,
                                  const std::function<void(std::string_view)>& report);

}  // namespace quorvanta::pmlr
