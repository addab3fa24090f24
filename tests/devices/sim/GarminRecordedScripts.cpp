#include "devices/sim/GarminScriptWriter.h"

#include <cmath>

#include "devices/sim/GarminFrame.h"
#include "devices/sim/RecordBytes.h"

// The content of the recorded scripts in tests/data/garmin: what the tests of
// the program and a person trying the simulator get from the unit.

namespace quorvanta::sim {

namespace {

struct SimWaypoint {
  const char* ident;
  double latDeg, lonDeg;
  const char* comment;
};

constexpr SimWaypoint Turnpoints[] = {
    {"START", 46.5, 11.0, "Startplatz Nord"},
    {"WENDE1", 46.6497, 11.1305, "Gipfelkreuz"},
    {"WENDE2", 46.5, 11.2610, "Kirche"},
    {"ZIEL", 46.5012, 11.0024, "Landeplatz"},
};

std::string d100Record(const SimWaypoint& waypoint) {
  std::string data;
  appendFixedText(data, waypoint.ident, 6);
  appendSemicircles(data, waypoint.latDeg);
  appendSemicircles(data, waypoint.lonDeg);
  appendU32(data, 0);
  appendFixedText(data, waypoint.comment, 40);
  return data;
}

std::string d108Record(const SimWaypoint& waypoint, std::uint16_t symbol) {
  std::string data;
  appendU8(data, 0);     // user waypoint
  appendU8(data, 0xFF);  // default colour
  appendU8(data, 0);     // show symbol and name
  appendU8(data, 0x60);
  appendU16(data, symbol);
  data.append(6, '\0');
  data.append(12, '\xFF');  // no map subclass
  appendSemicircles(data, waypoint.latDeg);
  appendSemicircles(data, waypoint.lonDeg);
  appendFloat(data, 1430);
  appendFloat(data, 1.0e25f);
  appendFloat(data, 1.0e25f);
  appendFixedText(data, "", 2);
  appendFixedText(data, "", 2);
  appendCString(data, waypoint.ident);
  appendCString(data, waypoint.comment);
  for (int i = 0; i < 4; ++i) appendCString(data, "");  // facility, city, address, crossing
  return data;
}

std::vector<ScriptPacket> waypointRecords(bool d108) {
  std::vector<ScriptPacket> records;
  std::uint16_t symbol = 18;  // waypoint dot
  for (const auto& waypoint : Turnpoints)
    records.push_back(scriptPacket(WaypointId,
                                   d108 ? d108Record(waypoint, symbol++) : d100Record(waypoint),
                                   std::string("waypoint ") + waypoint.ident));
  return records;
}

std::vector<ScriptPacket> routeRecords() {
  std::vector<ScriptPacket> records;
  const auto addRoute = [&](std::uint8_t number, const char* comment,
                            std::initializer_list<int> stops) {
    std::string header;
    appendU8(header, number);
    appendFixedText(header, comment, 20);
    records.push_back(scriptPacket(RouteHeaderId, header, std::string("route ") + comment));
    for (int stop : stops)
      records.push_back(scriptPacket(RouteWaypointId, d100Record(Turnpoints[stop]),
                                     std::string("route waypoint ") + Turnpoints[stop].ident));
  };
  addRoute(1, "DREIECK 45 KM", {0, 1, 2, 3});
  addRoute(2, "HEIMFLUG", {2, 3});
  return records;
}

std::vector<ScriptPacket> almanacRecords() {
  std::vector<ScriptPacket> records;
  for (int satellite = 1; satellite <= 32; ++satellite) {
    std::string data;
    appendU16(data, 1202);                                    // week
    appendFloat(data, 61440);                                 // time of applicability
    appendFloat(data, 1.2e-5f * static_cast<float>(satellite % 7 - 3));  // clock bias
    appendFloat(data, 0);                                     // clock drift
    appendFloat(data, 0.004f + 0.0005f * static_cast<float>(satellite % 11));  // eccentricity
    appendFloat(data, 5153.6f);                               // square root of the semi-major axis
    appendFloat(data, static_cast<float>(std::fmod(satellite * 0.7, 6.28) - 3.14));
    appendFloat(data, static_cast<float>(std::fmod(satellite * 1.3, 6.28) - 3.14));
    appendFloat(data, static_cast<float>((satellite % 6) * 1.047 - 3.14));  // ascending node
    appendFloat(data, -8.1e-9f);                              // rate of right ascension
    appendFloat(data, 0.958f);                                // inclination
    appendU8(data, 0);                                        // healthy
    records.push_back(scriptPacket(AlmanacId, data, "almanac satellite " +
                                                        std::to_string(satellite)));
  }
  return records;
}

ScriptPacket dateTimePacket() {
  std::string data;
  appendU8(data, 7);
  appendU8(data, 15);
  appendU16(data, 2003);
  appendU16(data, 10);
  appendU8(data, 23);
  appendU8(data, 45);
  return scriptPacket(DateTimeId, data, "date and time 15.07.2003 10:23:45 UTC");
}

// Three tracks of a day and one left over from a unit without a fix:
// track 1 (15.07.2003 10:00:00, every 5 s) holds a point in the same second
// as its predecessor and one with altitude 1.0e25; track 2 runs across
// midnight UTC; track 3 begins in the same second as track 2 ends; track 4
// is a single point with time 0xFFFFFFFF.
std::vector<SimTrack> d301Tracks() {
  auto track1 = flightPath(12, garminTime(2003, 7, 15, 10, 0, 0), 5, 1);
  track1[5].time = track1[4].time;
  track1[7].altitude = 1.0e25f;
  auto track2 = flightPath(12, garminTime(2003, 7, 15, 23, 59, 0), 10, 2);
  auto track3 = flightPath(3, track2.back().time, 10, 3);
  SimTrackPoint noTime{46.5, 11.0, 0xFFFFFFFF, 0, true};
  return {{"15-JUL-03 10:00", track1},
          {"15-JUL-03 23:59", track2},
          {"16-JUL-03 00:01", track3},
          {"ACTIVE LOG", {noTime}}};
}

std::vector<SimTrack> d300Tracks() {
  return {{"", flightPath(10, garminTime(2003, 7, 15, 12, 0, 0), 4, 4)},
          {"", flightPath(5, garminTime(2003, 7, 15, 13, 0, 0), 4, 5)}};
}

GarminScript commandScript(std::uint8_t command, std::vector<ScriptPacket> packets) {
  GarminScript script;
  script.answers[Trigger::command(command)] = std::move(packets);
  return script;
}

}  // namespace

std::vector<RecordedFile> recordedFiles() {
  return {
      {"product-d301.txt", "An eTrex-like unit: waypoints D108, track log A301 with D301.",
       productScript(TrackFormat::D301)},
      {"product-d300.txt", "An older unit: waypoints D100, track log A300 with D300.",
       productScript(TrackFormat::D300)},
      {"tracklog-d301.txt",
       "Track log in D301, four tracks: 12 points from 15.07.2003 10:00:00 UTC every 5 s\n"
       "(point 6 in the same second as point 5, point 8 with altitude 1.0e25), 12 points\n"
       "from 23:59:00 every 10 s across midnight UTC, 3 points beginning in the second\n"
       "the previous track ends, and one point with time 0xFFFFFFFF.",
       trackLogScript(d301Tracks(), TrackFormat::D301)},
      {"tracklog-d300.txt",
       "Track log in D300, two tracks: 10 points from 15.07.2003 12:00:00 UTC and 5 points\n"
       "from 13:00:00, every 4 s.",
       trackLogScript(d300Tracks(), TrackFormat::D300)},
      {"waypoints-d100.txt", "Four waypoints in D100.",
       commandScript(7, transfer(7, waypointRecords(false)))},
      {"waypoints-d108.txt", "Four waypoints in D108.",
       commandScript(7, transfer(7, waypointRecords(true)))},
      {"routes.txt", "Two routes (D201 headers, D100 waypoints): 4 and 2 waypoints.",
       commandScript(4, transfer(4, routeRecords()))},
      {"almanac.txt", "Almanac of 32 satellites in D501.",
       commandScript(1, transfer(1, almanacRecords()))},
      {"datetime.txt", "Date and time in D600: a single packet, no transfer around it.",
       commandScript(5, {dateTimePacket()})},
  };
}

}  // namespace quorvanta::sim
