#include "flight/IgcWriter.h"

#include <algorithm>

#include "flight/FieldText.h"
#include "flight/FileContent.h"
#include "flight/GRecord.h"
#include "flight/IgcRecords.h"
#include "optimize/Geodesy.h"

namespace quorvanta {

namespace {

// The stored lines with the new altitudes in columns 26-30.
void appendIgcTrack(FlightRecord& record, std::string& text) {
  bool inHfRun = false;
  for (int i = 1; i <= record.HeaderLineCount; ++i) {
    const std::string& line = record.HeaderLines[i];
    const bool hf = line.starts_with("HF");
    if (inHfRun && !hf && !record.ExtraHeaderLine.empty()) {
      text += record.ExtraHeaderLine + "\r\n";
      record.ExtraHeaderLine.clear();
    }
    inHfRun = hf;
    text += line + "\r\n";
  }
  for (int i = 1; i <= record.FixCount; ++i) {
    const std::string& fix = record.FixText[i];
    text += std::string(columns(fix, 1, 25)) + altitudeField(record.FixAlt[i]);
    if (fix.size() > 30) text += fix.substr(30);
    text += "\r\n";
  }
  for (int i = 1; i <= record.OtherLineCount; ++i) {
    if (!record.OtherLines[i].starts_with("G")) text += record.OtherLines[i] + "\r\n";
  }
}

// A CSV track has no IGC lines to copy: B records are built from its fixes.
void appendCsvTrack(FlightRecord& record, std::string& text) {
  text += CsvTrackARecord;
  text += "\r\n";
  text += dateLine(record.FixTime[1]) + "\r\n";
  if (!record.ExtraHeaderLine.empty()) {
    text += record.ExtraHeaderLine + "\r\n";
    record.ExtraHeaderLine.clear();
  }
  FixLineWriter fixes(text, record.FixTime[1]);
  for (int i = 1; i <= record.FixCount; ++i) {
    fixes.add({record.FixTime[i], record.FixLat[i] / DegToRad, record.FixLon[i] / DegToRad,
               true, record.FixAlt[i], record.FixGpsAlt[i]});
  }
}

}  // namespace

std::string flightFileText(FlightRecord& record) {
  std::string text;
  if (record.CsvTrack && record.FixCount > 0) {
    appendCsvTrack(record, text);
  } else {
    appendIgcTrack(record, text);
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
  std::string text = flightFileText(record);
  if (record.SignOnSave) text = withGRecord(std::move(text));
  if (auto failure = writeWholeFile(path, text)) {
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
