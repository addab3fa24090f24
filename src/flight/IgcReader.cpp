#include "flight/IgcReader.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

#include "flight/ClosestPairThinner.h"
#include "flight/DayCount.h"
#include "flight/FieldText.h"
#include "flight/FileContent.h"
#include "flight/FixDates.h"
#include "flight/FlightSummary.h"
#include "flight/Geodesy.h"
#include "flight/TextLines.h"
#include "flight/TrackRecords.h"

namespace quorvanta {

namespace {

struct PendingFix {
  double lat = 0, lon = 0;
  bool valid = false;
  double time = 0;
  std::int32_t alt = 0, gpsAlt = 0, groundAlt = 0;
  std::array<std::int32_t, MaxExtensions> ext{};
  std::string text;
  std::int64_t sequence = 0;  // fixes read before it
};

// Collects the fixes in file order, thinned to the record's capacity.
class TrackBuilder {
 public:
  void add(PendingFix fix) {
    fix.sequence = readCount_++;
    const int slot = thinner_.add(fix.lat, fix.lon);
    slots_[static_cast<std::size_t>(slot)] = std::move(fix);
  }

  bool empty() const { return thinner_.size() == 0; }
  std::int64_t readCount() const { return readCount_; }

  // HeaderLineFix counts the fixes read before each line until here; it
  // becomes the number of kept fixes before it.
  void storeInto(FlightRecord& record) {
    std::vector<std::int64_t> sequences;
    int i = 0;
    for (int slot : thinner_.slotsInOrder()) {
      PendingFix& fix = slots_[static_cast<std::size_t>(slot)];
      sequences.push_back(fix.sequence);
      ++i;
      record.FixLat[i] = fix.lat;
      record.FixLon[i] = fix.lon;
      record.FixValid[i] = fix.valid;
      record.FixTime[i] = fix.time;
      record.FixAlt[i] = fix.alt;
      record.FixGpsAlt[i] = fix.gpsAlt;
      record.FixGroundAlt[i] = fix.groundAlt;
      for (int k = 1; k <= MaxExtensions; ++k) {
        record.FixExt[k][i] = fix.ext[static_cast<std::size_t>(k - 1)];
      }
      record.FixText[i] = std::move(fix.text);
    }
    record.FixCount = i;
    record.DroppedFixCount = static_cast<std::int32_t>(thinner_.droppedCount());
    for (int k = 1; k <= record.HeaderLineCount; ++k) {
      const auto before =
          std::lower_bound(sequences.begin(), sequences.end(), record.HeaderLineFix[k]);
      record.HeaderLineFix[k] = static_cast<std::int32_t>(before - sequences.begin());
    }
  }

 private:
  ClosestPairThinner thinner_{MaxFixes};
  std::int64_t readCount_ = 0;
  std::vector<PendingFix> slots_ = std::vector<PendingFix>(MaxFixes);
};

template <int Capacity>
void keepLine(OneBasedArray<std::string, Capacity>& lines, std::int32_t& count,
              std::int32_t& dropped, const std::string& line) {
  if (count < Capacity) {
    lines[++count] = line;
  } else {
    ++dropped;
  }
}

// Interprets IGC lines one after the other.
class IgcLines {
 public:
  IgcLines(FlightRecord& record, TrackBuilder& track, std::vector<std::string>& titles,
           const ReadOptions& options)
      : record_(record), track_(track), titles_(titles), options_(options) {}

  void read(const std::string& line) {
    switch (line.empty() ? '\0' : line.front()) {
      case 'H':
      case 'A':
      case 'C':
      case 'D': {
        const bool kept = keepHeaderLine(line);
        if (namesDate(line)) setDate(line);
        // A pilot line the record has no room for would not be saved with
        // the flight, so it does not name it either.
        if (kept && namesPilot(line)) setTitle(line);
        break;
      }
      case 'I':
        keepHeaderLine(line);
        setExtensions(line);
        break;
      case 'B':
        addFix(line);
        break;
      default:
        keepLine(record_.OtherLines, record_.OtherLineCount, record_.DroppedOtherLineCount, line);
    }
  }

  // Its place among the fixes goes with the line, for the writer. False when
  // the record has no room left for the line.
  bool keepHeaderLine(const std::string& line) {
    const bool room = record_.HeaderLineCount < MaxHeaderLines;
    if (room) {
      record_.HeaderLineFix[record_.HeaderLineCount + 1] =
          static_cast<std::int32_t>(track_.readCount());
    }
    keepLine(record_.HeaderLines, record_.HeaderLineCount, record_.DroppedHeaderLineCount, line);
    return room;
  }

  // The titles once every line is read: a pilot line takes the date of the
  // date line before it, or the file's first date line where none is.
  void finishTitles() {
    for (const auto& [pilot, date] : pilots_) {
      const FlightDate day = date.value_or(firstDate_.value_or(FlightDate{}));
      record_.FlightTitle = pilot + "   am " + std::to_string(day.day) + "." +
                            std::to_string(day.month) + "." + std::to_string(day.year);
      titles_.push_back(record_.FlightTitle);
    }
  }

 private:
  void setDate(const std::string& line) {
    date_ = parseDateLine(line);
    if (!firstDate_) firstDate_ = date_;
    dates_.setDate(*date_);
  }

  void setTitle(const std::string& line) { pilots_.emplace_back(pilotText(line), date_); }

  void setExtensions(const std::string& line) {
    extensions_ = parseIRecord(line);
    record_.ExtCount = extensions_.count;
    for (int k = 1; k <= extensions_.count; ++k) {
      const auto i = static_cast<std::size_t>(k - 1);
      record_.ExtStart[k] = extensions_.start[i];
      record_.ExtLen[k] = extensions_.length[i];
      record_.ExtCode[k] = extensions_.code[i];
    }
  }

  void addFix(const std::string& line) {
    const BRecord b = parseBRecord(line, extensions_);
    PendingFix fix;
    fix.time = dates_.dayCount(b);
    fix.text = line;
    fix.lat = b.latDeg * DegToRad;
    fix.lon = b.lonDeg * DegToRad;
    record_.MaxPressureAlt = std::max(record_.MaxPressureAlt, b.pressureAlt);
    fix.alt = shownAltitude(b);
    fix.gpsAlt = b.gpsAlt;
    fix.ext = b.ext;
    if (options_.groundElevation) fix.groundAlt = options_.groundElevation(fix.lat, fix.lon);
    fix.valid = b.valid;
    if (!fix.valid) ++record_.InvalidFixCount;
    track_.add(std::move(fix));
  }

  FlightRecord& record_;
  TrackBuilder& track_;
  std::vector<std::string>& titles_;
  const ReadOptions& options_;
  ExtensionLayout extensions_;
  std::optional<FlightDate> date_, firstDate_;
  std::vector<std::pair<std::string, std::optional<FlightDate>>> pilots_;
  FixDates dates_;
};

// Fix lines of a comma-separated track; every other line is skipped. The
// format has no validity flag: its fixes count as valid.
void readCsvLine(const std::string& line, TrackBuilder& track) {
  if (line.empty() || (line.front() != 'T' && line.front() != 'N')) return;
  CsvFix csv = parseCsvFix(line);
  const auto day = encodeDate(csv.year, csv.month, csv.day);
  if (!day) {
    throw RecordError("ungültiges Datum " + std::to_string(csv.day) + "." +
                      std::to_string(csv.month) + "." + std::to_string(csv.year));
  }
  const auto time = encodeTime(csv.hour, csv.minute, csv.second);
  if (!time) {
    throw RecordError("ungültige Uhrzeit " + std::to_string(csv.hour) + ":" +
                      std::to_string(csv.minute) + ":" + std::to_string(csv.second));
  }
  PendingFix fix;
  fix.lat = csv.latDeg * DegToRad;
  fix.lon = csv.lonDeg * DegToRad;
  fix.valid = true;
  fix.time = *day + *time;
  fix.alt = csv.alt;
  fix.text = std::move(csv.text);
  track.add(std::move(fix));
}

// Clears what a load replaces; the fixes themselves come from the track.
void startLoad(FlightRecord& record, const std::string& path, bool igc,
               const ReadOptions& options) {
  record.TrackFileName = igc ? path : "";
  record.CsvTrack = !igc;
  record.HeaderLineCount = record.DroppedHeaderLineCount = 0;
  record.OtherLineCount = record.DroppedOtherLineCount = 0;
  record.ExtCount = 0;
  record.FlightTitle.clear();
  record.InvalidFixCount = 0;
  record.MaxPressureAlt = 0;
  if (options.fromDownload) {
    record.DownloadedFile.clear();
  } else {
    record.SignOnSave = false;
  }
}

}  // namespace

ReadResult readFlightFile(const std::string& path, FlightRecord& record,
                          const ReadOptions& options) {
  ReadResult result;
  const std::string lowerPath = toLower(path);
  const bool csv = lowerPath.find(".csv") != std::string::npos;
  if (!csv && lowerPath.find(".igc") == std::string::npos) {
    result.error = ReadError{0, "Die Datei „" + path +
                                    "“ ist weder eine IGC-Datei (.igc) noch eine "
                                    "CSV-Datei (.csv)."};
    return result;
  }
  std::string content;
  if (auto failure = readWholeFile(path, content)) {
    result.error = ReadError{0, *failure};
    return result;
  }
  result.listing = splitLines(content);

  auto next = std::make_unique<FlightRecord>(record);
  startLoad(*next, path, !csv, options);
  auto track = std::make_unique<TrackBuilder>();
  IgcLines igcLines(*next, *track, result.flightTitles, options);
  const std::size_t total = result.listing.size();
  int shownPercent = -1;
  for (std::size_t n = 0; n < total; ++n) {
    const std::string& line = result.listing[n];
    try {
      if (csv) {
        readCsvLine(line, *track);
      } else {
        igcLines.read(line);
      }
    } catch (const RecordError& bad) {
      const int lineNumber = static_cast<int>(n + 1);
      ReadResult failed;
      failed.error = ReadError{lineNumber, lineErrorText(lineNumber, bad.what(), line)};
      return failed;
    }
    const int percent = static_cast<int>((n + 1) * 100 / total);
    if (options.progress && percent != shownPercent) options.progress(shownPercent = percent);
  }
  igcLines.finishTitles();
  if (track->empty()) {
    ReadResult failed;
    failed.error = ReadError{0, "Die Datei „" + path + "“ enthält keine Trackpunkte."};
    return failed;
  }

  track->storeInto(*next);
  computeSummaryValues(*next);
  next->ViewFirst = 1;
  next->ViewLast = next->FixCount;
  result.labels = loadStatusLabels(*next);
  record = std::move(*next);
  return result;
}

void assignGroundElevations(FlightRecord& record, const GroundElevation& groundElevation) {
  for (int i = 1; i <= record.FixCount; ++i) {
    record.FixGroundAlt[i] = groundElevation(record.FixLat[i], record.FixLon[i]);
  }
  computeSummaryValues(record);
}

}  // namespace quorvanta
