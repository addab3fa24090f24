#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "flight/FlightRecord.h"
#include "flight/LoadStatus.h"

namespace quorvanta {

// Terrain elevation in metres at a position in radians.
using GroundElevation = std::function<std::int32_t(double lat, double lon)>;

struct ReadOptions {
  // Set when a terrain model is loaded; fixes then get their ground elevation.
  GroundElevation groundElevation;
  // Called with 0..100 as the lines of the file are worked through.
  std::function<void(int percent)> progress;
  // The file was just written by an instrument download: it keeps SignOnSave
  // and is consumed from DownloadedFile. Any other file clears SignOnSave.
  bool fromDownload = false;
};

struct ReadError {
  int line = 0;  // 1-based; 0 when the file as a whole failed
  std::string message;  // German, ready to show
};

struct ReadResult {
  std::optional<ReadError> error;
  std::vector<std::string> listing;  // the file's lines, for the file view
  LoadLabels labels;
  std::vector<std::string> flightTitles;  // one per pilot line, in file order
  bool ok() const { return !error; }
};

// Reads an IGC file or a comma-separated track (told apart by ".igc" or
// ".csv" in the file name) into `record`. On any error the record is left
// exactly as it was.
ReadResult readFlightFile(const std::string& path, FlightRecord& record,
                          const ReadOptions& options = {});

// Gives every fix of a loaded flight its ground elevation, as a load with
// that terrain model would have, and recomputes the summary values.
void assignGroundElevations(FlightRecord& record, const GroundElevation& groundElevation);

}  // namespace quorvanta
