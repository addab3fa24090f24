#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "flight/ApplicationTitle.h"
#include "flight/IgcHeader.h"

namespace quorvanta {

// A point received from an instrument; only selected points go into the file.
struct DownloadPoint {
  double time = 0;  // day count, UTC
  double latDeg = 0;
  double lonDeg = 0;  // east positive; 0..360 allowed
  std::int32_t alt = 0;  // metres
  bool selected = true;
};

// The short IGC file name of a downloaded flight: year digit, month and day
// as one character each, the pilot ID and the flight number of the day
// (1..31); nothing for a flight number outside that range.
std::optional<std::string> downloadFileName(double date, std::string_view pilotId,
                                            int flightNumber);

// The date a downloaded flight is named after: that of the first selected
// point from the second point on (the first point of a log is often stale),
// else of the first selected point; nothing when no point is selected.
std::optional<double> downloadDate(const std::vector<DownloadPoint>& points);

// The file in the common layout: A record, HFDTE, the HO lines of the
// header values, B records of the selected points (a new HFDTE line where the
// date changes), and the two L lines with the program title and the local
// time `writtenAt`; CR LF line ends. `progress` gets 0..100 per point.
std::string downloadFileText(std::string_view aRecord, const IgcHeaderValues& header,
                             const std::vector<DownloadPoint>& points, double writtenAt,
                             const std::function<void(int)>& progress = {});

struct DownloadOutcome {
  std::optional<std::string> error;  // German; nothing was written
  std::string path;                  // DownloadedFile
  std::string status;                // the download window's status text
};

// The two L lines that close a downloaded file: the program title and the
// German weekday, date and time `writtenAt` (local), each ended by CR LF.
std::string programLines(double writtenAt);

// The path of a downloaded flight of `date` in the header's directory: the
// short name with the first flight number whose file does not exist yet, or
// the error when all 31 are taken.
DownloadOutcome freeDownloadPath(double date, const IgcHeaderValues& header);

// Names, writes and signs a downloaded flight in the header's directory,
// with the first flight number whose file does not exist yet.
DownloadOutcome writeDownloadedFlight(std::string_view aRecord, const IgcHeaderValues& header,
                                      const std::vector<DownloadPoint>& points,
                                      double writtenAt,
                                      const std::function<void(int)>& progress = {});

}  // namespace quorvanta
