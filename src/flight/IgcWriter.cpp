#include "flight/IgcWriter.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "flight/DayCount.h"
#include "flight/FieldText.h"
#include "flight/FileContent.h"
#include "flight/FixDates.h"
#include "flight/GRecord.h"
#include "flight/Geodesy.h"
#include "flight/IgcRecords.h"
#include "flight/TrackRecords.h"

namespace quorvanta {

namespace {

UnwritableFlight unwritable(const std::string& reason) {
  return UnwritableFlight("Der Flug lässt sich nicht unverändert als IGC-Datei speichern: " +
                          reason + ".");
}

std::string fixLine(const FlightRecord& record, int i) {
  const std::string& fix = record.FixText[i];
  std::string line = std::string(columns(fix, 1, 25)) + altitudeField(record.FixAlt[i]);
  if (fix.size() > 30) line += fix.substr(30);
  return line;
}

// The layout of the last I record read, which may lie beyond the header's
// capacity.
ExtensionLayout lastLayout(const FlightRecord& record) {
  ExtensionLayout layout;
  layout.count = record.ExtCount;
  for (int k = 1; k <= record.ExtCount; ++k) {
    const auto i = static_cast<std::size_t>(k - 1);
    layout.start[i] = record.ExtStart[k];
    layout.length[i] = record.ExtLen[k];
    layout.code[i] = record.ExtCode[k];
  }
  return layout;
}

bool sameLayout(const ExtensionLayout& a, const ExtensionLayout& b) {
  return a.count == b.count && a.start == b.start && a.length == b.length && a.code == b.code;
}

std::string iRecord(const ExtensionLayout& layout) {
  char text[32];
  std::snprintf(text, sizeof text, "I%02d", layout.count);
  std::string line = text;
  for (std::size_t i = 0; i < static_cast<std::size_t>(layout.count); ++i) {
    std::snprintf(text, sizeof text, "%02d%02d", layout.start[i],
                  layout.start[i] + layout.length[i] - 1);
    line += text + layout.code[i];
  }
  return line;
}

// Writes lines and follows them as the reader will, so that every B record
// reads back as the fix it stands for: where the lines read so far would give
// it another date or other extension values, an HFDTE line or an I record
// goes before it.
class ReadBackLines {
 public:
  explicit ReadBackLines(std::string& text) : text_(text) {}

  void add(const std::string& line) {
    const char type = line.empty() ? '\0' : line.front();
    if (type == 'I') layout_ = parseIRecord(line);
    if (std::string_view("HACD").find(type) != std::string_view::npos && namesDate(line)) {
      dates_.setDate(parseDateLine(line));
    }
    text_ += line + "\r\n";
  }

  void addFix(const FlightRecord& record, int i) {
    const std::string line = fixLine(record, i);
    const BRecord fix = withExtensions(record, i, line);
    if (!datedAs(record.FixTime[i], fix)) {
      add(dateLine(record.FixTime[i]));
      if (!datedAs(record.FixTime[i], fix)) {
        throw unwritable("das Datum von Trackpunkt " + std::to_string(i) +
                         " lässt sich nicht schreiben");
      }
    }
    text_ += line + "\r\n";
  }

  // The extensions as the last I record announced them, for the lines that
  // follow the fixes.
  void keepLastLayout(const FlightRecord& record) {
    if (!sameLayout(layout_, lastLayout(record))) add(iRecord(lastLayout(record)));
  }

 private:
  BRecord withExtensions(const FlightRecord& record, int i, const std::string& line) {
    if (const auto fix = readAs(record, i, line)) return *fix;
    if (!sameLayout(layout_, lastLayout(record))) {
      add(iRecord(lastLayout(record)));
      if (const auto fix = readAs(record, i, line)) return *fix;
    }
    throw unwritable("Trackpunkt " + std::to_string(i) + " passt zu keinem I-Datensatz");
  }

  std::optional<BRecord> readAs(const FlightRecord& record, int i, const std::string& line) const {
    try {
      const BRecord fix = parseBRecord(line, layout_);
      for (int k = 1; k <= MaxExtensions; ++k) {
        if (fix.ext[static_cast<std::size_t>(k - 1)] != record.FixExt[k][i]) return std::nullopt;
      }
      return fix;
    } catch (const RecordError&) {
      return std::nullopt;
    }
  }

  bool datedAs(double time, const BRecord& fix) {
    try {
      return dates_.dayCount(fix) == time;
    } catch (const RecordError&) {
      return false;
    }
  }

  std::string& text_;
  FixDates dates_;
  ExtensionLayout layout_;
};

// The header lines read before the first fix, with the extra header line
// right after their first run of HF lines. Returns the number of the first
// line left.
int appendHeader(FlightRecord& record, ReadBackLines& lines) {
  bool inHfRun = false;
  int k = 1;
  for (; k <= record.HeaderLineCount && record.HeaderLineFix[k] == 0; ++k) {
    const std::string& line = record.HeaderLines[k];
    const bool hf = line.starts_with("HF");
    if (inHfRun && !hf && !record.ExtraHeaderLine.empty()) {
      lines.add(record.ExtraHeaderLine);
      record.ExtraHeaderLine.clear();
    }
    inHfRun = hf;
    lines.add(line);
  }
  return k;
}

// The stored lines with the new altitudes in columns 26-30; header lines read
// among the fixes stay there.
void appendIgcTrack(FlightRecord& record, std::string& text) {
  ReadBackLines lines(text);
  int k = appendHeader(record, lines);
  for (int i = 1; i <= record.FixCount; ++i) {
    lines.addFix(record, i);
    for (; k <= record.HeaderLineCount && record.HeaderLineFix[k] <= i; ++k) {
      lines.add(record.HeaderLines[k]);
    }
  }
  lines.keepLastLayout(record);
  for (int i = 1; i <= record.OtherLineCount; ++i) {
    if (!record.OtherLines[i].starts_with("G")) text += record.OtherLines[i] + "\r\n";
  }
}

// An IGC file holds years 2000 to 2099 and altitudes of five characters.
void checkCsvFix(const FlightRecord& record, int i) {
  const int year = dateTimeParts(record.FixTime[i]).year;
  if (year < 2000 || year > 2099) {
    throw unwritable("das Jahr " + std::to_string(year) + " von Trackpunkt " +
                     std::to_string(i) + " liegt nicht in 2000 bis 2099");
  }
  if (record.FixAlt[i] < -9999 || record.FixAlt[i] > 99999) {
    throw unwritable("die Höhe " + std::to_string(record.FixAlt[i]) + " m von Trackpunkt " +
                     std::to_string(i) + " hat mehr als fünf Stellen");
  }
}

// A CSV track has no IGC lines to copy: B records are built from its fixes.
void appendCsvTrack(FlightRecord& record, std::string& text) {
  for (int i = 1; i <= record.FixCount; ++i) checkCsvFix(record, i);
  text += CsvTrackARecord;
  text += "\r\n";
  text += dateLine(record.FixTime[1]) + "\r\n";
  if (!record.ExtraHeaderLine.empty()) {
    text += record.ExtraHeaderLine + "\r\n";
    record.ExtraHeaderLine.clear();
  }
  // The reader takes the GPS altitude where the pressure altitude is below 1,
  // so such an altitude goes into both fields.
  FixLineWriter fixes(text, record.FixTime[1]);
  for (int i = 1; i <= record.FixCount; ++i) {
    const std::int32_t alt = record.FixAlt[i];
    fixes.add({record.FixTime[i], record.FixLat[i] / DegToRad, record.FixLon[i] / DegToRad,
               true, alt, alt >= 1 ? record.FixGpsAlt[i] : alt});
  }
}

}  // namespace

std::string flightFileText(FlightRecord& record) {
  std::string text;
  try {
    if (record.CsvTrack && record.FixCount > 0) {
      appendCsvTrack(record, text);
    } else {
      appendIgcTrack(record, text);
    }
  } catch (const RecordError& bad) {
    throw unwritable(bad.what());
  }
  return text;
}

std::string igcFileName(const std::string& chosen) {
  std::string upper = chosen;
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c); });
  return upper.find(".IGC") == std::string::npos ? chosen + ".igc" : chosen;
}

SaveOutcome saveFlight(const std::string& path, FlightRecord& record) {
  SaveOutcome outcome;
  const std::string extraHeaderLine = record.ExtraHeaderLine;
  std::optional<std::string> failure;
  try {
    std::string text = flightFileText(record);
    if (record.SignOnSave) text = withGRecord(std::move(text));
    failure = writeWholeFile(path, text);
  } catch (const UnwritableFlight& unfaithful) {
    failure = unfaithful.what();
  }
  if (failure) {
    record.ExtraHeaderLine = extraHeaderLine;
    outcome.error = std::move(failure);
    return outcome;
  }
  outcome.label = record.SignOnSave
                      ? StatusLabel{"igc-File geschrieben (signiert)", TextColour::Green}
                      : StatusLabel{"igc-File geschrieben (unsigniert)", TextColour::Red};
  record.TrackFileName = path;
  return outcome;
}

}  // namespace quorvanta
