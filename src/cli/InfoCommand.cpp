#include <memory>
#include <ostream>
#include <string>

#include "cli/Commands.h"
#include "cli/JsonText.h"
#include "flight/DayCount.h"
#include "flight/FlightRecord.h"
#include "flight/Geodesy.h"
#include "flight/IgcReader.h"

namespace quorvanta::cli {

namespace {

std::string extensionsJson(const FlightRecord& record) {
  std::string json = "[";
  for (int k = 1; k <= record.ExtCount; ++k) {
    if (k > 1) json += ", ";
    json += "{\"code\": " + jsonString(record.ExtCode[k]) +
            ", \"start\": " + std::to_string(record.ExtStart[k]) +
            ", \"len\": " + std::to_string(record.ExtLen[k]) + "}";
  }
  return json + "]";
}

std::string labelsJson(const LoadLabels& labels) {
  std::string json = "{";
  for (std::size_t k = 0; k < labels.size(); ++k) {
    if (k > 0) json += ", ";
    json += "\"Label" + std::to_string(k + 1) + "\": " + jsonString(labels[k].text);
  }
  return json + "}";
}

void writeFixes(const FlightRecord& record, std::ostream& out) {
  out << ", \"fixes\": [";
  for (int i = 1; i <= record.FixCount; ++i) {
    if (i > 1) out << ", ";
    out << "{\"lat\": " << jsonNumber(record.FixLat[i] / DegToRad)
        << ", \"lon\": " << jsonNumber(record.FixLon[i] / DegToRad)
        << ", \"valid\": " << jsonBool(record.FixValid[i])
        << ", \"time\": " << jsonString(isoDateTimeText(record.FixTime[i]))
        << ", \"alt\": " << record.FixAlt[i] << ", \"gps_alt\": " << record.FixGpsAlt[i] << "}";
  }
  out << "]";
}

}  // namespace

std::unique_ptr<FlightRecord> loadFlight(const std::string& path, std::ostream& err,
                                         ReadResult* result) {
  auto record = std::make_unique<FlightRecord>();
  ReadResult read = readFlightFile(path, *record);
  if (!read.ok()) {
    err << path << ": " << read.error->message << "\n";
    return nullptr;
  }
  if (result) *result = std::move(read);
  return record;
}

int infoCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const bool withFixes = args.size() == 2 && args[1] == "--fixes";
  if (args.empty() || (args.size() == 2 && !withFixes) || args.size() > 2) {
    err << "Aufruf: quorvanta-cli info DATEI [--fixes]\n";
    return 2;
  }
  const std::string& path = args[0];
  ReadResult result;
  const auto record = loadFlight(path, err, &result);
  if (!record) return 1;
  const FlightRecord& r = *record;
  out << "{\"file\": " << jsonString(path) << ", \"fix_count\": " << r.FixCount
      << ", \"dropped_fix_count\": " << r.DroppedFixCount
      << ", \"invalid_fix_count\": " << r.InvalidFixCount
      << ", \"header_line_count\": " << r.HeaderLineCount
      << ", \"other_line_count\": " << r.OtherLineCount << ", \"ext\": " << extensionsJson(r)
      << ", \"flight_title\": " << jsonString(r.FlightTitle) << ", \"max_alt\": " << r.MaxAlt
      << ", \"min_alt\": " << r.MinAlt << ", \"max_ground_alt\": " << r.MaxGroundAlt
      << ", \"max_climb\": " << jsonNumber(r.MaxClimb)
      << ", \"max_sink\": " << jsonNumber(r.MaxSink)
      << ", \"max_speed\": " << jsonNumber(r.MaxSpeed)
      << ", \"max_pressure_alt\": " << r.MaxPressureAlt
      << ", \"labels\": " << labelsJson(result.labels);
  if (withFixes) writeFixes(r, out);
  out << "}\n";
  return 0;
}

}  // namespace quorvanta::cli
