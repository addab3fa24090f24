#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "flight/DownloadWriter.h"
#include "flight/IgcHeader.h"

namespace quorvanta::garmin {

struct GarminDownloadRequest {
  std::string device;          // the serial device's path
  std::string transcriptPath;  // empty: no transcript
  IgcHeaderValues header;      // the directory included
  std::function<double()> now; // local time as a day count
};

// Downloads without a window: reads the unit's product data and its whole
// track log, then writes every point as a signed IGC file by the rules of the
// download window. `report` gets progress and status lines in German. The
// port is closed again whatever happens; a failure is the outcome's error.
DownloadOutcome downloadGarminFlight(const GarminDownloadRequest& request,
                                     const std::function<void(std::string_view)>& report);

}  // namespace quorvanta::garmin
