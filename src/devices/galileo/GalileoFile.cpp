#include "devices/galileo/GalileoFile.h"

#include <cctype>

#include "flight/DayCount.h"
#include "flight/FileContent.h"
#include "flight/GRecord.h"
#include "flight/TextLines.h"

namespace quorvanta::galileo {

namespace {

std::optional<int> twoDigits(std::string_view text, std::size_t at) {
  if (text.size() < at + 2) return std::nullopt;
  const auto digit = [&text](std::size_t k) {
    return std::isdigit(static_cast<unsigned char>(text[k])) ? std::optional<int>(text[k] - '0')
                                                             : std::nullopt;
  };
  const auto high = digit(at), low = digit(at + 1);
  if (!high || !low) return std::nullopt;
  return *high * 10 + *low;
}

bool startsWithG(const std::string& line) { return line.starts_with('G'); }

bool isHeaderLine(const std::string& line) {
  return !line.empty() && (std::toupper(static_cast<unsigned char>(line[0])) == 'A' ||
                           std::toupper(static_cast<unsigned char>(line[0])) == 'H');
}

void addLine(std::string& text, std::string_view line) {
  if (line.empty()) return;  // no record; the reader would trip over it
  text += line;
  text += "\r\n";
}

}  // namespace

std::string tooManyLinesText() {
  return "Der Track hat mehr als " + std::to_string(MaxLines) +
         " Zeilen und kann nicht gespeichert werden.";
}

std::optional<double> flightDate(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    if (!line.starts_with("HFDTE")) continue;
    const std::size_t at = line.starts_with("HFDTEDATE:") ? 10 : 5;
    const auto day = twoDigits(line, at), month = twoDigits(line, at + 2),
               year = twoDigits(line, at + 4);
    if (!day || !month || !year) return std::nullopt;
    return encodeDate(2000 + *year, *month, *day);
  }
  return std::nullopt;
}

std::optional<std::string> trackRefusal(const std::vector<std::string>& lines) {
  if (lines.size() > static_cast<std::size_t>(MaxLines)) {
    return tooManyLinesText();
  }
  for (const std::string& line : lines) {
    if (!line.starts_with("HFDTE")) continue;
    if (flightDate(lines)) return std::nullopt;
    return "Die Zeile „" + line + "“ des Tracks enthält kein gültiges Datum. Es wurde keine "
           "Datei geschrieben.";
  }
  return std::string(
      "Die Antwort des Galileo enthält keine Zeile „HFDTE“ mit dem Flugdatum. Bitte am Galileo "
      "einen gespeicherten Flug auswählen und den Track erneut auslesen.");
}

std::string trackFileText(const std::vector<std::string>& lines, const IgcHeaderValues& header,
                          double writtenAt) {
  std::string text;
  std::size_t k = 0;
  for (; k < lines.size() && isHeaderLine(lines[k]); ++k) addLine(text, lines[k]);
  addLine(text, "HOCIDCOMPETITIONID: " + header.competitionId);
  addLine(text, "HOCCLCOMPETITION CLASS: " + header.competitionClass);
  addLine(text, "HOSITSite: " + header.site);
  for (; k < lines.size() && !startsWithG(lines[k]); ++k) addLine(text, lines[k]);
  text += programLines(writtenAt);
  for (; k < lines.size(); ++k) addLine(text, lines[k]);
  return text;
}

DownloadOutcome writeTrackFile(const std::vector<std::string>& lines,
                               const IgcHeaderValues& header, double writtenAt) {
  if (auto refused = trackRefusal(lines)) return {std::move(refused), {}, {}};
  DownloadOutcome outcome = freeDownloadPath(*flightDate(lines), header);
  if (outcome.error) return outcome;
  std::string text = trackFileText(lines, header, writtenAt);
  // Signed exactly when the file holds no G record of its own: one kept from
  // the instrument must not be covered by a second.
  bool hasGRecord = false;
  for (const std::string& line : splitLines(text)) hasGRecord = hasGRecord || startsWithG(line);
  if (!hasGRecord) text = withGRecord(text);
  if (auto failure = writeWholeFile(outcome.path, text)) return {std::move(failure), {}, {}};
  outcome.status = std::string("igc-File geschrieben (G-Record ") +
                   (hasGRecord ? "bereits vorhanden) " : "hinzugefügt) ") + outcome.path;
  return outcome;
}

}  // namespace quorvanta::galileo
