#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "devices/sim/GarminScript.h"

namespace quorvanta::sim {

// Builds what a Garmin unit sends: record contents, whole transfers and the
// recorded scripts kept in the source tree.

enum class TrackFormat { D300, D301 };

struct SimTrackPoint {
  double latDeg = 0, lonDeg = 0;
  std::uint32_t time = 0;  // seconds since 31 December 1989 00:00 UTC
  float altitude = 0;      // D301 only
  bool newTrack = false;
};

struct SimTrack {
  std::string name;  // the track header's (D301 logs only)
  std::vector<SimTrackPoint> points;
};

// Seconds since 31 December 1989 00:00 UTC.
std::uint32_t garminTime(int year, int month, int day, int hour, int minute, int second);

// `count` points every `intervalSeconds` along a plausible flight, the first
// one flagged as a new track.
std::vector<SimTrackPoint> flightPath(int count, std::uint32_t startTime, int intervalSeconds = 2,
                                      unsigned seed = 1);

std::string productDataRecord(std::uint16_t productId, std::uint16_t version,
                              const std::vector<std::string>& texts);
// `entries` as blank-separated tags, e.g. "P000 L001 A010".
std::string protocolArrayRecord(std::string_view entries);
std::string trackPointRecord(const SimTrackPoint& point, TrackFormat format);

// A packet of the script: its frame and a note.
ScriptPacket scriptPacket(std::uint8_t id, std::string_view data, std::string note = {});

// The records packet, the records, and transfer complete with `command`.
std::vector<ScriptPacket> transfer(std::uint8_t command, std::vector<ScriptPacket> records);

// The answer to the product request of a unit with the given protocols.
GarminScript productScript(TrackFormat format);
// A track log transfer: D301 logs get a track header before each track.
GarminScript trackLogScript(const std::vector<SimTrack>& tracks, TrackFormat format);

// The recorded scripts: file name, heading and content.
struct RecordedFile {
  std::string name;
  std::string heading;
  GarminScript script;
};
std::vector<RecordedFile> recordedFiles();

}  // namespace quorvanta::sim
