#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "devices/port/TVaComm.h"
#include "flight/DownloadWriter.h"
#include "flight/IgcHeader.h"

namespace quorvanta::sendrakel {

// The logger's line: 4800 bit/s, 8 data bits, no parity, 1 stop bit, DTR
// and RTS off.
void configurePort(TVaComm& port);

struct SendrakelDownloadRequest {
  std::string device;           // the serial device's path
  std::string transcriptPath;   // empty: no transcript
  IgcHeaderValues header;       // the directory included
  int speedIndex = 0;           // 0 = 4800 .. 4 = 57600 bit/s for the track transfer
  std::optional<int> track;     // from 1; nothing: the last
  bool takeNames = true;        // pilot and glider from the logger, its G record kept
  std::function<double()> now;  // local time as a day count
};

// Downloads without a window: the logger's status, then its tracks; one
// track is written by the rules of the download window. `report` gets
// progress and status lines in German. The port is closed again whatever
// happens; a failure is the outcome's error.
DownloadOutcome downloadSendrakelFlight(const SendrakelDownloadRequest& request,
                                        const std::function<void(std::string_view)>& report);

}  // namespace quorvanta::sendrakel
