#include "devices/sim/GarminScriptWriter.h"

#include <chrono>
#include <sstream>
#include <stdexcept>

#include "devices/sim/GarminFrame.h"
#include "devices/sim/RecordBytes.h"
#include "support/TrackGenerator.h"

namespace quorvanta::sim {

namespace {

std::string pointNote(const SimTrackPoint& point, TrackFormat format) {
  std::ostringstream note;
  note.precision(6);
  note << std::fixed << "track point " << point.latDeg << " " << point.lonDeg << ", time "
       << point.time;
  if (format == TrackFormat::D301) note << std::defaultfloat << ", altitude " << point.altitude;
  if (point.newTrack) note << ", new track";
  return note.str();
}

}  // namespace

std::uint32_t garminTime(int year, int month, int day, int hour, int minute, int second) {
  using namespace std::chrono;
  const sys_days date = std::chrono::year(year) / month / day;
  const sys_days epoch = 1989y / December / 31;
  return static_cast<std::uint32_t>((date - epoch).count() * 86400 + hour * 3600 + minute * 60 +
                                    second);
}

std::vector<SimTrackPoint> flightPath(int count, std::uint32_t startTime, int intervalSeconds,
                                      unsigned seed) {
  test::TrackOptions options;
  options.fixCount = count;
  options.seed = seed;
  options.intervalSeconds = intervalSeconds;
  std::vector<SimTrackPoint> points;
  points.reserve(static_cast<std::size_t>(count));
  for (const auto& fix : test::generateTrack(options)) {
    const auto offset = static_cast<std::uint32_t>(fix.secondOfDay - options.startSecondOfDay);
    points.push_back({fix.latDeg, fix.lonDeg, startTime + offset,
                      static_cast<float>(fix.gpsAlt), points.empty()});
  }
  return points;
}

std::string productDataRecord(std::uint16_t productId, std::uint16_t version,
                              const std::vector<std::string>& texts) {
  std::string data;
  appendU16(data, productId);
  appendU16(data, version);
  for (const auto& text : texts) appendCString(data, text);
  return data;
}

std::string protocolArrayRecord(std::string_view entries) {
  std::string data;
  std::istringstream tags{std::string(entries)};
  std::string tag;
  while (tags >> tag) {
    appendU8(data, static_cast<std::uint8_t>(tag.front()));
    appendU16(data, static_cast<std::uint16_t>(std::stoi(tag.substr(1))));
  }
  return data;
}

std::string trackPointRecord(const SimTrackPoint& point, TrackFormat format) {
  std::string data;
  appendSemicircles(data, point.latDeg);
  appendSemicircles(data, point.lonDeg);
  appendU32(data, point.time);
  if (format == TrackFormat::D301) {
    appendFloat(data, point.altitude);
    appendFloat(data, 1.0e25f);  // depth: not measured
  }
  appendU8(data, point.newTrack ? 1 : 0);
  return data;
}

ScriptPacket scriptPacket(std::uint8_t id, std::string_view data, std::string note) {
  return {encodeFrame(id, data), std::move(note)};
}

std::vector<ScriptPacket> transfer(std::uint8_t command, std::vector<ScriptPacket> records) {
  if (records.size() > 0xFFFF) throw std::length_error("a transfer holds at most 65535 records");
  std::string count;
  appendU16(count, static_cast<std::uint16_t>(records.size()));
  std::string code;
  appendU16(code, command);
  std::vector<ScriptPacket> packets;
  packets.reserve(records.size() + 2);
  packets.push_back(
      scriptPacket(RecordsId, count, std::to_string(records.size()) + " records follow"));
  for (auto& record : records) packets.push_back(std::move(record));
  packets.push_back(scriptPacket(TransferCompleteId, code, "transfer complete"));
  return packets;
}

GarminScript productScript(TrackFormat format) {
  const bool d301 = format == TrackFormat::D301;
  const auto product =
      d301 ? productDataRecord(169, 370, {"eTrex Vista Software Version 3.70",
                                          "VERBMAP Europe Highway 2.00"})
           : productDataRecord(77, 458, {"GPS 12XL Software Version 4.58"});
  const auto* protocols =
      d301 ? "P000 L001 A010 T001 A100 D108 A201 D202 D108 D210 A301 D310 D301 A500 D501 "
             "A600 D600 A700 D700 A800 D800"
           : "P000 L001 A010 T001 A100 D100 A200 D201 D100 A300 D300 A400 D400 A500 D500 "
             "A600 D600 A700 D700 A800 D800";
  GarminScript script;
  script.answers[Trigger::productRequest()] = {
      scriptPacket(ProductDataId, product, "product data"),
      scriptPacket(ProtocolArrayId, protocolArrayRecord(protocols),
                   std::string("protocol array ") + protocols)};
  return script;
}

GarminScript trackLogScript(const std::vector<SimTrack>& tracks, TrackFormat format) {
  std::vector<ScriptPacket> records;
  for (const auto& track : tracks) {
    if (format == TrackFormat::D301) {
      std::string header;
      appendU8(header, 1);     // displayed
      appendU8(header, 0xFF);  // default colour
      appendCString(header, track.name);
      records.push_back(scriptPacket(TrackHeaderId, header, "track header " + track.name));
    }
    for (const auto& point : track.points)
      records.push_back(
          scriptPacket(TrackPointId, trackPointRecord(point, format), pointNote(point, format)));
  }
  GarminScript script;
  script.answers[Trigger::command(TrackLogCommand)] = transfer(TrackLogCommand, std::move(records));
  return script;
}

}  // namespace quorvanta::sim
