#include "flight/TrackRecords.h"

#include <algorithm>
#include <vector>

#include "flight/FieldText.h"

namespace quorvanta {

std::string quotedExcerpt(std::string_view text) {
  constexpr std::size_t Shown = 100;
  std::string quote = "„";
  quote += text.substr(0, Shown);
  if (text.size() > Shown) quote += "…";
  return quote += "“";
}

std::string lineErrorText(int lineNumber, std::string_view reason, std::string_view line) {
  std::string text = "Fehler in Zeile " + std::to_string(lineNumber) + ": ";
  text += reason;
  return text += ": " + quotedExcerpt(line);
}

namespace {

std::string columnRange(int start, int count) {
  return count > 1 ? std::to_string(start) + "-" + std::to_string(start + count - 1)
                   : std::to_string(start);
}

std::int32_t integerAt(std::string_view line, int start, int count, const char* what) {
  const std::string_view field = columns(line, start, count);
  if (const auto value = integerField(field)) return *value;
  throw RecordError("ungültige Zahl " + quotedExcerpt(field) + " in Spalte " +
                    columnRange(start, count) + " (" + what + ")");
}

bool letterAt(std::string_view line, int column, char upper) {
  const std::string_view c = columns(line, column, 1);
  return !c.empty() && (c.front() == upper || c.front() == upper + ('a' - 'A'));
}

// Positions the B record fields can hold; a longitude above 180 is written
// as west of Greenwich.
struct DegreeRange {
  int low, high;
};
constexpr DegreeRange LatitudeRange{-90, 90};
constexpr DegreeRange LongitudeRange{-180, 360};

std::vector<std::string_view> splitAtCommas(std::string_view text) {
  std::vector<std::string_view> fields;
  for (std::size_t start = 0;;) {
    const std::size_t comma = text.find(',', start);
    fields.push_back(text.substr(start, comma == std::string_view::npos ? comma : comma - start));
    if (comma == std::string_view::npos) return fields;
    start = comma + 1;
  }
}

}  // namespace

BRecord parseBRecord(std::string_view line, const ExtensionLayout& extensions) {
  BRecord fix;
  fix.hour = integerAt(line, 2, 2, "Stunden");
  fix.minute = integerAt(line, 4, 2, "Minuten");
  fix.second = integerAt(line, 6, 2, "Sekunden");
  fix.latDeg = integerAt(line, 8, 2, "Breitengrad") +
               integerAt(line, 10, 5, "Breitenminuten") / 60000.0;
  if (letterAt(line, 15, 'S')) fix.latDeg = -fix.latDeg;
  fix.lonDeg = integerAt(line, 16, 3, "Längengrad") +
               integerAt(line, 19, 5, "Längenminuten") / 60000.0;
  if (letterAt(line, 24, 'W')) fix.lonDeg = -fix.lonDeg;
  fix.valid = columns(line, 25, 1) == "A";
  fix.pressureAlt = integerAt(line, 26, 5, "Druckhöhe");
  fix.gpsAlt = integerAt(line, 31, 5, "GPS-Höhe");
  for (int k = 0; k < extensions.count; ++k) {
    const std::string what = "Erweiterung " + extensions.code[static_cast<std::size_t>(k)];
    fix.ext[static_cast<std::size_t>(k)] =
        integerAt(line, extensions.start[static_cast<std::size_t>(k)],
                  extensions.length[static_cast<std::size_t>(k)], what.c_str());
  }
  return fix;
}

ExtensionLayout parseIRecord(std::string_view line) {
  ExtensionLayout layout;
  layout.count = std::clamp(integerAt(line, 2, 2, "Anzahl der Erweiterungen"), 0, MaxExtensions);
  for (int k = 0; k < layout.count; ++k) {
    const int column = 4 + 7 * k;
    const auto i = static_cast<std::size_t>(k);
    layout.start[i] = integerAt(line, column, 2, "erste Spalte");
    layout.length[i] = integerAt(line, column + 2, 2, "letzte Spalte") - layout.start[i] + 1;
    layout.code[i] = std::string(columns(line, column + 4, 3));
  }
  return layout;
}

FlightDate parseDateLine(std::string_view line) {
  const bool labelled = toLower(columns(line, 6, 5)) == "date:";
  const std::int32_t ddmmyy =
      labelled ? integerAt(line, 11, 6, "Datum") : integerAt(line, 6, 6, "Datum");
  FlightDate date;
  date.day = ddmmyy / 10000;
  date.month = ddmmyy / 100 - date.day * 100;
  date.year = ddmmyy - date.day * 10000 - date.month * 100 + 2000;
  return date;
}

std::string pilotText(std::string_view line) { return std::string(columns(line, 6, 100)); }

bool namesDate(std::string_view line) { return columns(line, 3, 3) == "DTE"; }

bool namesPilot(std::string_view line) { return columns(line, 3, 3) == "PLT"; }

CsvFix parseCsvFix(std::string_view line) {
  const std::vector<std::string_view> fields = splitAtCommas(line.substr(1));
  if (fields.size() < 11) {
    throw RecordError("zu wenige Felder (" + std::to_string(fields.size() - 1) +
                      " statt 10)");
  }
  const auto field = [&](std::size_t k, const char* what) {
    return quotedExcerpt(fields[k]) + " in Feld " + std::to_string(k) + " (" + what + ")";
  };
  const auto coordinate = [&](std::size_t k, const char* what, DegreeRange range) {
    const auto value = decimalField(fields[k]);
    if (!value) throw RecordError("ungültige Zahl " + field(k, what));
    if (*value < range.low || *value > range.high) {
      throw RecordError("Wert " + field(k, what) + " liegt außerhalb von " +
                        std::to_string(range.low) + " bis " + std::to_string(range.high) +
                        " Grad");
    }
    return *value;
  };
  const auto integer = [&](std::size_t k, const char* what) {
    if (const auto value = leadingInteger(fields[k])) return *value;
    throw RecordError("ungültige Zahl " + field(k, what));
  };
  CsvFix fix;
  fix.latDeg = coordinate(2, "Breite", LatitudeRange);
  fix.lonDeg = coordinate(3, "Länge", LongitudeRange);
  fix.month = integer(4, "Monat");
  fix.day = integer(5, "Tag");
  fix.year = integer(6, "Jahr");
  fix.hour = integer(7, "Stunde");
  fix.minute = integer(8, "Minute");
  fix.second = integer(9, "Sekunde");
  fix.alt = integer(10, "Höhe");
  fix.text = std::string(line.substr(line.find(',') + 1));
  return fix;
}

}  // namespace quorvanta
