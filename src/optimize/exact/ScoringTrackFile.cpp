#include <optional>

#include "flight/FileContent.h"
#include "flight/FixDates.h"
#include "flight/Geodesy.h"
#include "flight/TextLines.h"
#include "flight/TrackRecords.h"
#include "optimize/exact/ExactSolver.h"

namespace quorvanta::exact {

ScoringTrackRead readScoringTrack(const std::string& path) {
  ScoringTrackRead read;
  std::string content;
  if (auto failure = readWholeFile(path, content)) {
    read.error = std::move(failure);
    return read;
  }
  const std::vector<std::string> lines = splitLines(content);
  content = std::string();
  ExtensionLayout extensions;
  FixDates dates;
  std::int32_t records = 0;
  ScoringTrack& track = read.track;
  // The same records and checks as a load, so that a file fails here where
  // it fails there, only without the thinning.
  for (std::size_t n = 0; n < lines.size(); ++n) {
    const std::string& line = lines[n];
    try {
      if (line.empty()) continue;
      if (line.front() == 'I') extensions = parseIRecord(line);
      if (namesDate(line) && std::string_view("HACD").find(line.front()) != std::string_view::npos) {
        dates.setDate(parseDateLine(line));
      }
      if (line.front() != 'B') continue;
      const BRecord b = parseBRecord(line, extensions);
      const double time = dates.dayCount(b);
      ++records;
      if (!b.valid) continue;
      track.lat.push_back(b.latDeg * DegToRad);
      track.lon.push_back(b.lonDeg * DegToRad);
      track.time.push_back(time);
      track.fixNumber.push_back(records);
      track.alt.push_back(shownAltitude(b));
    } catch (const RecordError& bad) {
      const int lineNumber = static_cast<int>(n + 1);
      return {{}, lineErrorText(lineNumber, bad.what(), line)};
    }
  }
  if (records == 0) return {{}, std::string("Die Datei „") + path + "“ enthält keine Trackpunkte."};
  return read;
}

namespace {

bool sameFix(const ScoringTrack& track, std::size_t k, const FlightRecord& r, int i) {
  return track.lat[k] == r.FixLat[i] && track.lon[k] == r.FixLon[i] &&
         track.time[k] == r.FixTime[i];
}

// The load keeps the file's fixes in order, so the record's valid fixes are
// found one after the other in the file's, from its first to its last, and
// only the dropped ones are left over.
bool holdsRecord(const ScoringTrack& track, const FlightRecord& r) {
  std::size_t k = 0;
  int valid = 0;
  for (int i = 1; i <= r.FixCount; ++i) {
    if (!r.FixValid[i]) continue;
    const bool first = valid++ == 0;
    while (k < track.lat.size() && !sameFix(track, k, r, i)) {
      if (first) return false;
      ++k;
    }
    if (k == track.lat.size()) return false;
    ++k;
  }
  return valid > 0 && k == track.lat.size() && track.size() <= valid + r.DroppedFixCount;
}

}  // namespace

ScoringTrack wholeScoringTrack(const FlightRecord& record) {
  if (record.CsvTrack || record.DroppedFixCount == 0 || record.TrackFileName.empty()) {
    return scoringTrack(record);
  }
  ScoringTrackRead read = readScoringTrack(record.TrackFileName);
  if (read.error || !holdsRecord(read.track, record)) return scoringTrack(record);
  return std::move(read.track);
}

}  // namespace quorvanta::exact
