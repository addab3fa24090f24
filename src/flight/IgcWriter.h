#pragma once

#include <optional>
#include <stdexcept>
#include <string>

#include "flight/FlightRecord.h"
#include "flight/LoadStatus.h"

namespace quorvanta {

// A record of a file built from a CSV track: no manufacturer code, serial
// "CSV".
inline constexpr const char* CsvTrackARecord = "AXXXCSV Quorvanta";

// The flight cannot be written so that it reads back the same; the text says
// why, in German.
class UnwritableFlight : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The loaded flight as an IGC file: its header lines (the extra header line
// of a merged barogram right after the first run of HF lines), its B records
// with the current altitude in columns 26-30, and its other lines without
// any old G record; lines end with CR LF. Header lines read among the fixes
// stay there, and an HFDTE line or I record goes before any fix that would
// otherwise read back with another date or other extensions (a line the
// header had no room for). A CSV track gets an A record, date lines and B
// records built from its fixes instead. Empties ExtraHeaderLine once it is
// placed. Throws UnwritableFlight where no file reads back as the flight.
std::string flightFileText(FlightRecord& record);

// The name the pilot chose, with ".igc" appended unless it has one already.
std::string igcFileName(const std::string& chosen);

struct SaveOutcome {
  std::optional<std::string> error;  // German, when nothing could be written
  StatusLabel label;                 // Label1 after a save
};

// Writes the flight to `path`, signed when it came straight from an
// instrument, and makes `path` the flight's file name. The file is complete
// or not there: an existing file is replaced only by a finished one.
SaveOutcome saveFlight(const std::string& path, FlightRecord& record);

}  // namespace quorvanta
