#include "flight/Barograph.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "flight/DayCount.h"
#include "flight/FieldText.h"
#include "flight/FileContent.h"
#include "flight/TextLines.h"
#include "flight/TrackRecords.h"

namespace quorvanta {

namespace {

// Walks the lines of a barograph file; failures name the line.
class BarographLines {
 public:
  explicit BarographLines(std::string_view content) : lines_(splitLines(content)) {}

  bool atEnd() const { return next_ >= lines_.size(); }
  const std::string& take(std::string_view expected) {
    if (atEnd()) fail("die Datei endet vor " + std::string(expected));
    return lines_[next_++];
  }
  void skip(int count, std::string_view expected) {
    for (int i = 0; i < count; ++i) take(expected);
  }

  // The first word of the next line that is not blank, as an integer; the
  // rest of that line is skipped.
  std::int32_t integer(std::string_view expected) {
    std::string_view word;
    while (word.empty()) {
      const std::string& line = take(expected);
      const std::size_t start = line.find_first_not_of(" \t");
      if (start != std::string::npos) word = std::string_view(line).substr(start);
    }
    word = word.substr(0, word.find_first_of(" \t"));
    const auto value = integerField(word);
    if (!value) fail(std::string(expected) + " ist keine ganze Zahl");
    return *value;
  }

  [[noreturn]] void fail(const std::string& reason) const {
    const std::size_t number = next_ == 0 ? 1 : next_;
    const std::string line = number <= lines_.size() ? lines_[number - 1] : "";
    throw RecordError(lineErrorText(static_cast<int>(number), reason, line));
  }

 private:
  std::vector<std::string> lines_;
  std::size_t next_ = 0;
};

void readSamples(BarographLines& lines, BarographBuffer& buffer) {
  for (;;) {
    const std::string& line = lines.take("dem Ende der Höhenwerte");
    if (line.find(' ') == std::string::npos) break;
    const std::size_t start = line.find_first_not_of(' ');
    const std::string_view text =
        start == std::string::npos ? std::string_view() : std::string_view(line).substr(start);
    const auto alt = integerField(text.substr(0, text.find(' ')));
    if (!alt) lines.fail("die Höhe ist keine ganze Zahl");
    if (*alt < std::numeric_limits<std::int16_t>::min() ||
        *alt > std::numeric_limits<std::int16_t>::max()) {
      lines.fail("die Höhe liegt außerhalb von -32768 bis 32767 m");
    }
    if (buffer.BaroCount == MaxBaroSamples) {
      lines.fail("mehr als " + std::to_string(MaxBaroSamples) + " Höhenwerte");
    }
    buffer.BaroAlt[++buffer.BaroCount] = static_cast<std::int16_t>(*alt);
  }
  if (buffer.BaroCount < 2) lines.fail("weniger als zwei Höhenwerte");
}

void readStartAndInterval(BarographLines& lines, BarographBuffer& buffer) {
  lines.skip(1, "dem Datum");
  const int day = lines.integer("der Tag");
  const int month = lines.integer("der Monat");
  const int year = lines.integer("das Jahr");
  const auto date = encodeDate(year, month, day);
  if (!date) lines.fail("ungültiges Datum");
  const int hour = lines.integer("die Stunde");
  const int minute = lines.integer("die Minute");
  const auto time = encodeTime(hour, minute, 0);
  if (!time) lines.fail("ungültige Uhrzeit");
  lines.skip(9, "dem Messintervall");
  const int seconds = lines.integer("das Messintervall");
  if (seconds < 1 || seconds > 59) lines.fail("das Messintervall muss 1 bis 59 s betragen");
  buffer.BaroStart = *date + *time;
  buffer.BaroInterval = seconds / 86400.0;
}

}  // namespace

std::optional<std::string> parseBarograph(std::string_view content, BarographBuffer& buffer) {
  auto next = std::make_unique<BarographBuffer>();
  next->BaroSerial = buffer.BaroSerial;
  BarographLines lines(content);
  try {
    readSamples(lines, *next);
    readStartAndInterval(lines, *next);
  } catch (const RecordError& bad) {
    return bad.what();
  }
  buffer = std::move(*next);
  return std::nullopt;
}

std::optional<std::string> readBarographFile(const std::string& path, BarographBuffer& buffer) {
  std::string content;
  if (auto failure = readWholeFile(path, content)) return failure;
  return parseBarograph(content, buffer);
}

void BaroZeiten(FlightRecord& record, const BarographBuffer& buffer, double baroOffset) {
  // Times in whole milliseconds: a day count carries rounding noise that
  // would put a fix exactly on a sample just before it.
  constexpr double MillisecondsPerDay = 86400000.0;
  const double interval = std::round(buffer.BaroInterval * MillisecondsPerDay);
  if (interval <= 0) return;
  int first = 0, last = 0;
  for (int i = 1; i <= record.FixCount; ++i) {
    const double v =
        std::round((record.FixTime[i] - buffer.BaroStart + baroOffset) * MillisecondsPerDay) /
        interval;
    std::int32_t alt = 0;
    // v < 1 or v >= BaroCount puts the truncated index outside 1..BaroCount-1.
    if (v >= 1 && v < buffer.BaroCount) {
      const auto j = static_cast<int>(v);
      const double f = v - j;
      alt = static_cast<std::int32_t>((1 - f) * buffer.BaroAlt[j] + f * buffer.BaroAlt[j + 1] + 0.5);
    }
    record.FixAlt[i] = alt;
    if (alt > 0) {
      if (first == 0) first = i;
      last = i;
    }
  }
  if (first > 0) {
    for (int i = 1; i < first; ++i) record.FixAlt[i] = record.FixAlt[first];
    for (int i = last + 1; i <= record.FixCount; ++i) record.FixAlt[i] = record.FixAlt[last];
  }
  record.MaxAlt = record.FixCount > 0 ? record.FixAlt[1] : 0;
  record.MinAlt = 100000;
  for (int i = 1; i <= record.FixCount; ++i) {
    record.MaxAlt = std::max(record.MaxAlt, record.FixAlt[i]);
    if (record.FixAlt[i] > 0) record.MinAlt = std::min(record.MinAlt, record.FixAlt[i]);
  }
}

double baroOffsetFor(TimeShift shift, const FlightRecord& record, const BarographBuffer& buffer,
                     double entered) {
  if (record.FixCount == 0) return 0;
  switch (shift) {
    case TimeShift::AsRecorded: return 0;
    case TimeShift::SyncAtSwitchOff:
      return buffer.BaroCount * buffer.BaroInterval + buffer.BaroStart -
             record.FixTime[record.FixCount];
    case TimeShift::SyncAtSwitchOn: return buffer.BaroStart - record.FixTime[1];
    case TimeShift::Entered: return entered;
  }
  return 0;
}

double enteredBaroOffset(double timeOfDay, bool barographBehind) {
  return barographBehind ? -timeOfDay : timeOfDay;
}

std::string pressureSensorLine(Variometer instrument, std::int32_t serial) {
  std::string line = "HFPRSPRESSUREALTSENSOR: ";
  line += instrument == Variometer::BraeunigerIq ? "Bräuniger IQ-Serie" : "Flytec 40XX";
  return line + ", S/N " + std::to_string(serial);
}

}  // namespace quorvanta
