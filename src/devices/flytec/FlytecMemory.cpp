#include "devices/flytec/FlytecMemory.h"

#include <array>

#include "flight/DayCount.h"

namespace quorvanta::flytec {

namespace {

constexpr std::size_t DirectoryUsedSize = 511;
constexpr std::size_t EntrySize = 19;
constexpr std::size_t CountOffset = 362;
constexpr std::size_t SerialOffset = 384;
constexpr std::size_t SizeCodeOffset = 404;

// Memory sizes by code; code 7 is one page short of the full 64 KiB.
constexpr std::array<int, 8> MemorySizes = {0, 8191, 16383, 24575, 32767, 40959, 49151, 61439};

int byteAt(std::string_view bytes, std::size_t offset) {
  return static_cast<unsigned char>(bytes[offset]);
}

int littleEndian(std::string_view bytes, std::size_t offset) {
  return byteAt(bytes, offset) + 256 * byteAt(bytes, offset + 1);
}

FlytecFlight entry(std::string_view directory, std::size_t at) {
  const auto bcdAt = [&](std::size_t offset) { return bcd(static_cast<unsigned char>(directory[at + offset])); };
  FlytecFlight f;
  f.altitude1 = littleEndian(directory, at);
  f.altitude2 = littleEndian(directory, at + 2);
  f.durationSeconds = bcdAt(6);
  f.durationMinutes = bcdAt(7);
  f.durationHours = bcdAt(8);
  f.day = bcdAt(9);
  f.month = bcdAt(10);
  f.year = 2000 + bcdAt(11);
  f.minute = bcdAt(12);
  f.hour = bcdAt(13);
  const int flags = byteAt(directory, at + 14);
  f.sensorType = (flags >> 2) & 3;
  f.intervalCode = flags & 3;
  f.firstAddress = littleEndian(directory, at + 15);
  f.lastAddress = littleEndian(directory, at + 17);
  return f;
}

std::string durationText(const FlytecFlight& f) {
  const auto time = encodeTime(f.durationHours, f.durationMinutes, f.durationSeconds);
  return time ? timeOfDayText(*time) : "(ungültig)";
}

double intervalDays(int code) { return (code == 0 ? 1 : code == 1 ? 5 : 15) / 86400.0; }

}  // namespace

int bcd(unsigned char byte) { return (byte & 0x0F) + 10 * (byte >> 4); }

FlytecDirectory decodeDirectory(std::string_view answer) {
  FlytecDirectory d;
  if (answer.size() < DirectoryUsedSize) {
    d.error = "Übertragungsfehler!";
    return d;
  }
  const std::string_view directory = answer.substr(0, DirectoryUsedSize);
  d.serial = littleEndian(directory, SerialOffset);
  const int code = byteAt(directory, SizeCodeOffset);
  if (code >= static_cast<int>(MemorySizes.size())) {
    d.error = "Fehler: Undefinierte Größe des EEPROM";
    return d;
  }
  d.memorySize = MemorySizes[static_cast<std::size_t>(code)];
  const int count = byteAt(directory, CountOffset);
  if (count > MaxFlights) {
    d.error = "Fehler: Das Verzeichnis nennt " + std::to_string(count) + " Flüge, es fasst nur " +
              std::to_string(MaxFlights);
    return d;
  }
  for (int k = 0; k < count; ++k) d.flights.push_back(entry(directory, static_cast<std::size_t>(k) * EntrySize));
  return d;
}

std::optional<double> flightStart(const FlytecFlight& f) {
  const auto date = encodeDate(f.year, f.month, f.day);
  const auto time = encodeTime(f.hour, f.minute, 0);
  if (!date || !time) return std::nullopt;
  return *date + *time;
}

std::string flightListLine(int number, const FlytecFlight& f) {
  const auto start = flightStart(f);
  const std::string startText = start ? shortDateText(*start) + " " + timeOfDayText(*start) : "(ungültig)";
  return "Flug Nr: " + std::to_string(number) + " " + startText + ": " + std::to_string(f.altitude1) +
         "m " + std::to_string(f.altitude2) + "m Flugzeit: " + durationText(f);
}

std::optional<std::string> takeOverFlight(const FlytecFlight& f, std::string_view memory, int serial,
                                          BarographBuffer& buffer) {
  if (f.firstAddress > f.lastAddress || f.lastAddress >= static_cast<int>(memory.size())) {
    return "Der Flug liegt nicht im ausgelesenen Speicher (Adressen " + std::to_string(f.firstAddress) +
           " bis " + std::to_string(f.lastAddress) + ").";
  }
  const auto start = flightStart(f);
  if (!start) return std::string("Datum oder Startzeit des Fluges sind ungültig.");
  const int sampleSize = f.sensorType == 0 ? 2 : 3;
  const int count = (f.lastAddress - f.firstAddress + 1) / sampleSize;
  if (count > MaxBaroSamples) {
    return "Das Barogramm hat " + std::to_string(count) + " Werte; mehr als " +
           std::to_string(MaxBaroSamples) + " können nicht übernommen werden.";
  }
  for (int k = 1; k <= count; ++k) {
    const std::size_t at = static_cast<std::size_t>(f.firstAddress + (k - 1) * sampleSize);
    buffer.BaroAlt[k] = static_cast<std::int16_t>((byteAt(memory, at + 1) & 0x7F) * 256 + byteAt(memory, at));
  }
  buffer.BaroCount = count;
  buffer.BaroStart = *start;
  buffer.BaroInterval = intervalDays(f.intervalCode);
  buffer.BaroSerial = serial;
  return std::nullopt;
}

}  // namespace quorvanta::flytec
