#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "flight/DownloadWriter.h"
#include "flight/IgcHeader.h"

namespace quorvanta::galileo {

struct GalileoDownloadRequest {
  std::string device;          // the serial device's path
  std::string transcriptPath;  // the log file; empty: none
  IgcHeaderValues header;      // the directory included
  std::function<double()> now; // local time as a day count
};

// Downloads without a window: asks for the track selected on the instrument
// and writes it as the window does. `report` gets status lines in German.
// The port is closed again whatever happens; a failure is the outcome's error.
DownloadOutcome downloadGalileoTrack(const GalileoDownloadRequest& request,
                                     const std::function<void(std::string_view)>& report);

}  // namespace quorvanta::galileo
