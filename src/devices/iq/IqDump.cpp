#include "devices/iq/IqDump.h"

#include <algorithm>
#include <cstdio>

#include "flight/DayCount.h"
#include "flight/NumberText.h"

namespace quorvanta::iq {

namespace {

constexpr std::size_t NameOffset = 11;
constexpr std::size_t SummarySize = 17;  // date .. landing time
constexpr std::size_t SampleSize = 3;

// Reads the dump front to back and notes the first field that is missing.
class DumpReader {
 public:
  explicit DumpReader(std::string_view dump) : dump_(dump) {}

  bool has(std::size_t bytes) const { return position_ + bytes <= dump_.size(); }
  std::size_t left() const { return dump_.size() - std::min(position_, dump_.size()); }
  void seek(std::size_t position) { position_ = position; }

  int byte() { return static_cast<unsigned char>(dump_[position_++]); }
  int word() {
    const int high = byte();
    return high * 256 + byte();
  }
  int signedWord() { return static_cast<std::int16_t>(static_cast<std::uint16_t>(word())); }

 private:
  std::string_view dump_;
  std::size_t position_ = 0;
};

bool printable(int byte) { return byte >= 32 && byte <= 128; }

void readSummary(DumpReader& in, IqFlight& f) {
  const int date = in.word();
  f.day = date / 100;
  f.month = date % 100;
  f.year = in.word();
  f.maxHeight1 = in.word();
  f.maxHeight2 = in.word();
  f.maxClimbTenths = in.word();
  const int flightTime = in.word();
  f.flightHours = flightTime / 100;
  f.flightMinutes = flightTime % 100;
  f.scanSeconds = in.byte();
  const int start = in.word(), landing = in.word();
  f.startHours = start / 100;
  f.startMinutes = start % 100;
  f.landingHours = landing / 100;
  f.landingMinutes = landing % 100;
  f.summaryComplete = true;
}

std::optional<double> clockTime(int hours, int minutes) { return encodeTime(hours, minutes, 0); }

std::string clockText(int hours, int minutes) {
  const auto time = clockTime(hours, minutes);
  return time ? timeOfDayText(*time) : std::to_string(hours) + ":" + std::to_string(minutes) + " (ungültig)";
}

std::string dateText(const IqFlight& f) {
  const auto date = encodeDate(f.year, f.month, f.day);
  return date ? shortDateText(*date)
              : std::to_string(f.day) + "." + std::to_string(f.month) + "." + std::to_string(f.year) +
                    " (ungültig)";
}

std::string rightAligned(int value, int width) {
  char text[16];
  std::snprintf(text, sizeof text, "%*d", width, value);
  return text;
}

}  // namespace

std::optional<int> declaredLength(std::string_view dump) {
  DumpReader in(dump);
  if (!in.has(9)) return std::nullopt;
  in.seek(7);
  return in.word();
}

IqFlight decodeDump(std::string_view dump) {
  IqFlight f;
  DumpReader in(dump);
  if (!in.has(NameOffset)) {
    f.missing = "Flugnummer und Barografennummer fehlen";
    return f;
  }
  in.seek(6);
  f.flightNumber = in.byte();
  in.seek(9);
  f.barographNumber = in.word();
  while (in.has(1)) {
    const int next = in.byte();
    if (!printable(next)) {
      in.seek(NameOffset + f.pilot.size());
      break;
    }
    f.pilot += static_cast<char>(next);
  }
  if (!in.has(SummarySize)) {
    f.missing = "die Zusammenfassung fehlt ganz oder teilweise";
    return f;
  }
  readSummary(in, f);
  const std::size_t sampleCount = in.left() / SampleSize;
  for (std::size_t i = 0; i < sampleCount; ++i) {
    const int altitude = in.signedWord();
    f.samples.push_back({altitude, in.byte()});
  }
  if (in.has(2)) {
    f.landingElevation = in.signedWord();
  } else {
    f.missing = "die Landeplatzhöhe fehlt";
  }
  return f;
}

int displayStep(int sampleCount) {
  int step = 2;
  while (sampleCount / step > 500) ++step;
  return step;
}

std::vector<std::string> summaryLines(const IqFlight& f) {
  std::vector<std::string> lines = {"Flugnummer: " + std::to_string(f.flightNumber),
                                    "Barograf Nr.: " + std::to_string(f.barographNumber),
                                    "Pilot: " + f.pilot};
  if (f.summaryComplete) {
    lines.push_back("Datum: " + dateText(f));
    lines.push_back("MaxHöhe1: " + std::to_string(f.maxHeight1) + " m  MaxHöhe2: " +
                    std::to_string(f.maxHeight2) + " m");
    lines.push_back("MaxVario:  " + generalText(f.maxClimbTenths / 10.0) + " m/sec");
    lines.push_back("Flugzeit:  " + clockText(f.flightHours, f.flightMinutes));
    lines.push_back("ScanRate:  " + std::to_string(f.scanSeconds) + " sec");
    lines.push_back("Startzeit: " + clockText(f.startHours, f.startMinutes));
    lines.push_back("Landezeit: " + clockText(f.landingHours, f.landingMinutes));
  }
  if (f.landingElevation) lines.push_back("Landeplatzhöhe: " + std::to_string(*f.landingElevation) + " m");
  if (!f.missing.empty()) lines.push_back("Unvollständig übertragen: " + f.missing + ".");
  return lines;
}

std::optional<double> baroStart(const IqFlight& f) {
  if (!f.summaryComplete) return std::nullopt;
  const auto date = encodeDate(f.year, f.month, f.day);
  const auto start = clockTime(f.startHours, f.startMinutes);
  if (!date || !start) return std::nullopt;
  return *date + *start;
}

std::vector<std::string> barogramLines(const IqFlight& f, double start) {
  std::vector<std::string> lines;
  const int count = static_cast<int>(f.samples.size());
  const int step = displayStep(count);
  const double interval = f.scanSeconds / 86400.0;
  for (int i = 1; i <= count; ++i) {
    if ((i - 1) % step != 0 && i != count) continue;
    const IqSample& sample = f.samples[static_cast<std::size_t>(i - 1)];
    lines.push_back(rightAligned(i, 3) + ": " + timeOfDayText(start + (i - 1) * interval) + " " +
                    rightAligned(sample.altitude, 4) + "m  " + rightAligned(sample.speed, 3) + "km/h");
  }
  return lines;
}

std::optional<std::string> takeOver(const IqFlight& f, BarographBuffer& buffer) {
  const auto start = baroStart(f);
  if (!start) {
    return std::string(f.summaryComplete ? "Datum oder Startzeit des Fluges sind ungültig"
                                         : "Die Zusammenfassung des Fluges fehlt") +
           "; das Barogramm wird nicht übernommen.";
  }
  const int count = static_cast<int>(f.samples.size());
  if (count > MaxBaroSamples) {
    return "Das Barogramm hat " + std::to_string(count) + " Werte; mehr als " +
           std::to_string(MaxBaroSamples) + " können nicht übernommen werden.";
  }
  buffer.BaroStart = *start;
  buffer.BaroInterval = f.scanSeconds / 86400.0;
  buffer.BaroCount = count;
  buffer.BaroSerial = f.barographNumber;
  for (int i = 1; i <= count; ++i) {
    buffer.BaroAlt[i] = static_cast<std::int16_t>(f.samples[static_cast<std::size_t>(i - 1)].altitude);
  }
  return std::nullopt;
}

}  // namespace quorvanta::iq
