#include "devices/garmin/GarminRecords.h"

#include <charconv>
#include <optional>
#include <vector>

#include "devices/garmin/GarminSymbols.h"
#include "devices/garmin/RecordReader.h"

namespace quorvanta::garmin {

namespace {

constexpr std::string_view D108Text = "D108 WPT-Format noch nicht programmiert";

RecordText bothLines(const std::string& line) { return {line + "\n", line + "\n"}; }

std::string joined(const std::vector<std::string>& fields) {
  std::string text;
  for (const std::string& field : fields) {
    if (!text.empty()) text += " / ";
    text += field;
  }
  return text;
}

std::string floatText(float value) {
  char text[32];
  return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

template <typename T>
std::string numberText(const std::optional<T>& value) {
  return value ? std::to_string(*value) : std::string();
}

// Ident, position and symbol of the waypoint formats whose records begin
// with ident[6], position, 4 unused bytes and comment[40] (D100 to D107, D154).
std::vector<std::string> waypointFields(std::string_view data, const ProtocolFormats& formats) {
  RecordReader reader(data);
  const auto ident = reader.text(6);
  const auto latitude = reader.int32();
  const auto longitude = reader.int32();
  reader.skip(4);
  const auto comment = reader.text(40);
  std::optional<std::string> symbol, waypointClass;
  if (formats.d154) {
    reader.skip(4 + 30 + 24 + 2 + 2 + 2 + 1);  // distance, name, city, state, altitude, country
    if (const auto number = reader.byte()) waypointClass = waypointClassName(*number);
    if (const auto number = reader.word()) symbol = symbolName(*number);
  } else if (const auto number = reader.byte()) {
    symbol = basicSymbolName(*number);
  }

  std::vector<std::string> fields;
  if (!ident) return fields;
  fields.push_back(*ident);
  if (!latitude || !longitude) return fields;
  fields.push_back(semicircleDegreesText(*latitude));
  fields.push_back(semicircleDegreesText(*longitude));
  if (symbol) fields.push_back(*symbol);
  if (waypointClass) fields.push_back(*waypointClass);
  if (comment && !comment->empty()) fields.push_back(*comment);
  return fields;
}

// D500 (42 bytes), D501 (with health, 43) and D551 (satellite first, 44).
std::vector<std::string> almanacFields(std::string_view data) {
  static constexpr std::string_view Parameters[] = {"toa", "af0", "af1",  "e",    "sqrta",
                                                    "m0",  "w",   "omg0", "odot", "i"};
  RecordReader reader(data);
  std::vector<std::string> fields;
  if (data.size() == 44) fields.push_back("SV " + std::to_string(*reader.byte() + 1));
  const auto week = reader.int16();
  if (!week) return fields;
  fields.push_back("wn " + std::to_string(*week));
  for (std::string_view name : Parameters) {
    const auto value = reader.float32();
    if (!value) return fields;
    fields.push_back(std::string(name) + " " + floatText(*value));
  }
  if (data.size() >= 43) {
    if (const auto health = reader.byte()) fields.push_back("hlth " + std::to_string(*health));
  }
  return fields;
}

std::string padded2(std::uint8_t number) {
  std::string text(number < 10 ? 1 : 0, ' ');
  return text += std::to_string(number);
}

}  // namespace

RecordText productDataText(std::string_view data, std::string& unitDescription) {
  RecordReader reader(data);
  const auto productId = reader.word();
  const auto version = reader.int16();
  std::string line = "ProductID: " + numberText(productId);
  if (version) {
    std::string texts(data.substr(4));
    while (!texts.empty() && texts.back() == '\0') texts.pop_back();
    const std::string description = unitText(texts.substr(0, texts.find('\0')));
    for (char& c : texts) {
      if (c == '\0') c = ' ';
    }
    line += "  SoftwareVers.: " + std::to_string(*version) + "  Typ: " + unitText(texts) + " ";
    unitDescription = description + " - " + std::to_string(*productId);
  }
  return bothLines(line);
}

RecordText dateTimeText(std::string_view data) {
  RecordReader reader(data);
  const auto month = reader.byte();
  const auto day = reader.byte();
  const auto year = reader.word();
  const auto hour = reader.int16();
  const auto minute = reader.byte();
  const auto second = reader.byte();
  std::string line = "UTC: ";
  if (month && day) {
    line += std::to_string(*day) + "." + std::to_string(*month) + ".";
    if (year) line += std::to_string(*year);
    if (hour) line += "   " + std::to_string(*hour) + ":";
    if (minute) line += std::to_string(*minute) + ":";
    if (second) line += std::to_string(*second);
  }
  return {line + "\n", ""};
}

RecordText waypointText(std::string_view data, const ProtocolFormats& formats) {
  if (formats.d108) return bothLines(std::string(D108Text));
  return bothLines("WPT: " + joined(waypointFields(data, formats)));
}

RecordText routeHeaderText(std::string_view data) {
  RecordReader reader(data);
  const auto number = reader.byte();
  if (!number) return {"Route \n", "RTE: \n"};
  const std::string comment = reader.text(reader.remaining()).value_or("");
  return {"Route " + padded2(*number) + ": " + comment + "\n",
          "RTE: " + std::to_string(*number) + " : " + comment + "\n"};
}

RecordText routeWaypointText(std::string_view data, const ProtocolFormats& formats) {
  if (formats.d108) return bothLines("RWP: " + std::string(D108Text));
  return bothLines("RWP: " + joined(waypointFields(data, formats)));
}

RecordText almanacText(std::string_view data) {
  return bothLines("ALM: " + joined(almanacFields(data)));
}

}  // namespace quorvanta::garmin
