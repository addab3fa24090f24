#include "flight/IgcWriter.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "flight/FieldText.h"
#include "flight/GRecord.h"

namespace quorvanta {

namespace {

// Five characters for columns 26-30; IGC writes a negative altitude with its
// sign first ("-0012"), and the field cannot hold more than five digits.
std::string altitudeField(std::int32_t alt) {
  char text[8];
  std::snprintf(text, sizeof text, "%05d", std::clamp(alt, -9999, 99999));
  return text;
}

}  // namespace

std::string flightFileText(FlightRecord& record) {
  std::string text;
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
  const std::string text = flightFileText(record);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) {
    record.ExtraHeaderLine = extraHeaderLine;
    outcome.error = "Die Datei „" + path + "“ kann nicht geschrieben werden.";
    return outcome;
  }
  if (record.SignOnSave) {
    if (auto failure = SignIgcFile(path)) {
      outcome.error = std::move(failure);
      return outcome;
    }
    outcome.label = {"igc-File geschrieben (signiert)", TextColour::Green};
  } else {
    outcome.label = {"igc-File geschrieben (unsigniert)", TextColour::Red};
  }
  record.TrackFileName = path;
  return outcome;
}

}  // namespace quorvanta
