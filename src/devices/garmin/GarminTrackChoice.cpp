#include "devices/garmin/GarminTrackChoice.h"

#include <algorithm>

#include "devices/PointSpeed.h"
#include "devices/garmin/TextWidth.h"
#include "flight/DayCount.h"
#include "flight/Geodesy.h"
#include "flight/NumberText.h"

namespace quorvanta::garmin {

namespace {

constexpr double SpeedOfDuplicates = 10000;  // km/h

std::string dateAndTime(double time) { return shortDateText(time) + " " + timeOfDayText(time); }

}  // namespace

std::vector<TrackGroup> trackGroups(const TrackTable& table) {
  std::vector<TrackGroup> groups;
  for (int i = 1; i <= table.count(); ++i) {
    const TrackEntry& entry = table[i];
    if (groups.empty() || groups.back().track != entry.track) {
      groups.push_back({entry.track, entry.time, entry.time, 0});
    }
    TrackGroup& group = groups.back();
    group.earliest = std::min(group.earliest, entry.time);
    group.latest = std::max(group.latest, entry.time);
    ++group.count;
  }
  return groups;
}

std::string trackItemText(const TrackGroup& group) {
  return "Track " + std::to_string(group.track) + " " + dateAndTime(group.earliest) + " - " +
         timeOfDayText(group.latest) + " UTC " + std::to_string(group.count) + " Punkte";
}

double pointSpeed(const TrackTable& table, int number) {
  const TrackEntry& from = table[number - 1];
  const TrackEntry& to = table[number];
  return groundSpeedKmh(from.lat, from.lon, to.lat, to.lon, to.time - from.time,
                        SpeedOfDuplicates);
}

std::string pointItemText(const TrackTable& table, int number) {
  const TrackEntry& entry = table[number];
  std::string text = "Nr." + rightAligned(number, 5) + "  " + dateAndTime(entry.time) + "   N " +
                     PaddedAngleText(entry.lat) + "   E " + PaddedAngleText(entry.lon);
  if (number > 1) text += speedItemText(pointSpeed(table, number));
  if (entry.alt > 0) text += "  " + rightAligned(entry.alt, 4) + " m ";
  return text;
}

std::vector<int> pointsOfTracks(const TrackTable& table, const std::vector<int>& tracks) {
  std::vector<int> numbers;
  for (int i = 1; i <= table.count(); ++i) {
    if (std::find(tracks.begin(), tracks.end(), table[i].track) != tracks.end()) {
      numbers.push_back(i);
    }
  }
  return numbers;
}

std::vector<DownloadPoint> downloadPoints(const TrackTable& table, const std::vector<int>& numbers,
                                          const std::vector<bool>& ticked) {
  std::vector<DownloadPoint> points;
  points.reserve(numbers.size());
  for (std::size_t k = 0; k < numbers.size(); ++k) {
    const TrackEntry& entry = table[numbers[k]];
    points.push_back({entry.time, entry.lat / DegToRad, entry.lon / DegToRad, entry.alt,
                      k < ticked.size() && ticked[k]});
  }
  return points;
}

}  // namespace quorvanta::garmin
