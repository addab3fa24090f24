#pragma once

#include <string>
#include <vector>

#include "devices/garmin/GarminTrack.h"
#include "flight/DownloadWriter.h"

namespace quorvanta::garmin {

// Consecutive points of one track number.
struct TrackGroup {
  int track = 0;
  double earliest = 0, latest = 0;  // day counts
  int count = 0;
};

std::vector<TrackGroup> trackGroups(const TrackTable& table);
std::string trackItemText(const TrackGroup& group);

// Ground speed in km/h from the point before to point `number` (from 2 on);
// 10000 when the two are no more than a duplicate's time apart.
double pointSpeed(const TrackTable& table, int number);
std::string pointItemText(const TrackTable& table, int number);

// The table numbers of the points of the given tracks, in table order.
std::vector<int> pointsOfTracks(const TrackTable& table, const std::vector<int>& tracks);

// Those points for the writer, each selected when its item is ticked.
std::vector<DownloadPoint> downloadPoints(const TrackTable& table, const std::vector<int>& numbers,
                                          const std::vector<bool>& ticked);

}  // namespace quorvanta::garmin
