#include "devices/garmin/GarminTrack.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "devices/garmin/RecordReader.h"
#include "devices/garmin/TextWidth.h"
#include "flight/DayCount.h"
#include "flight/Geodesy.h"

namespace quorvanta::garmin {

namespace {

constexpr double GarminEpoch = 32873;  // 31 December 1989 as a day count
constexpr double SemicircleToRad = Pi / 2147483648.0;
constexpr std::int32_t QuarterCircle = 1 << 30;  // 90 degrees in semicircles
constexpr std::int32_t NoTime = -1;  // 0xFFFFFFFF: the unit knows no time

// The unit's float metres; nonsense (beyond 1e20, not finite) counts as none.
std::int32_t altitudeOf(float metres) {
  const double value = metres;
  if (!std::isfinite(value) || std::fabs(value) > 1e20) return 0;
  return static_cast<std::int32_t>(std::clamp(std::nearbyint(value), -1e9, 1e9));
}

// A transcript number: "." whatever the locale.
std::string fileDecimal(double value, int decimals, std::size_t width) {
  char text[400];
  const auto result =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  return rightAligned(std::string(text, result.ptr), width);
}

}  // namespace

std::optional<TrackPointRecord> decodeTrackPoint(std::string_view data, TrackFormat format) {
  RecordReader reader(data);
  const auto lat = reader.int32();
  const auto lon = reader.int32();
  const auto time = reader.int32();
  std::optional<float> alt = 0.0f;
  if (format == TrackFormat::D301) {
    alt = reader.float32();
    reader.skip(4);  // depth
  }
  const auto newTrack = reader.byte();
  if (!newTrack || !alt || *lat > QuarterCircle || *lat < -QuarterCircle) return std::nullopt;
  TrackPointRecord point;
  point.lat = *lat * SemicircleToRad;
  point.lon = *lon * SemicircleToRad;
  point.time = GarminEpoch + (*time == NoTime ? 0 : *time) / 86400.0;
  point.alt = altitudeOf(*alt);
  point.newTrack = *newTrack != 0;
  return point;
}

TrackTable::Added TrackTable::add(const TrackEntry& entry, bool newTrack) {
  if (count_ > 0 && !newTrack &&
      std::fabs(entry.time - entries_[count_].time) < DuplicateDays) {
    return Added::Dropped;
  }
  if (count_ == Capacity) return Added::Full;
  entries_[++count_] = entry;
  return Added::Kept;
}

std::string trackPointDisplayLine(const TrackEntry& entry, int number, bool newTrack) {
  const DateTimeParts t = dateTimeParts(entry.time);
  std::string line = std::to_string(entry.track) + ". Track: " + rightAligned(number, 4) +
                     ". Punkt:  " + shortDateText(entry.time) + "  " + rightAligned(t.hour, 2) +
                     ":" + rightAligned(t.minute, 2, '0') + ":" +
                     rightAligned(t.second, 2, '0') + " UTC  N " + PaddedAngleText(entry.lat) +
                     "  E " + PaddedAngleText(entry.lon) + "  " + std::to_string(entry.alt) + " m";
  if (newTrack) line += "  neuer Track";
  return line + "\n";
}

std::string trackPointTranscriptLine(const TrackEntry& entry, bool newTrack) {
  const DateTimeParts t = dateTimeParts(entry.time);
  return "TRK: " + rightAligned(t.day, 2) + "." + rightAligned(t.month, 2) + "." + std::to_string(t.year) +
         rightAligned(t.hour, 5) + ":" + rightAligned(t.minute, 2) + ":" + rightAligned(t.second, 2) + " UTC   " +
         fileDecimal(entry.lat / DegToRad, 8, 13) + fileDecimal(entry.lon / DegToRad, 8, 13) +
         "  " + rightAligned(entry.alt, 5) + " m  " + (newTrack ? "TRUE" : "FALSE");
}

}  // namespace quorvanta::garmin
