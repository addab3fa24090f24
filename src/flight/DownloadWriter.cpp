#include "flight/DownloadWriter.h"

#include <array>
#include <filesystem>
#include <system_error>

#include "flight/DayCount.h"
#include "flight/FileContent.h"
#include "flight/GRecord.h"
#include "flight/IgcRecords.h"

namespace quorvanta {

namespace {

constexpr std::string_view NumberCharacters = "123456789ABCDEFGHIJKLMNOPQRSTUV";

constexpr std::array<const char*, 7> Weekdays = {
    "Sonntag ", "Montag ", "Dienstag ", "Mittwoch ", "Donnerstag ", "Freitag ", "Samstag ",
};

std::string writtenAtLine(double writtenAt) {
  std::string line("L   ");
  line += Weekdays[static_cast<std::size_t>(dateTimeParts(writtenAt).weekday)];
  line += shortDateText(writtenAt) + "  " + timeOfDayText(writtenAt);
  return line;
}

void appendHeader(std::string& text, std::string_view aRecord, const IgcHeaderValues& header,
                  double date) {
  const auto line = [&text](std::string_view label, std::string_view value) {
    text += label;
    text += value;
    text += "\r\n";
  };
  line(aRecord, "");
  line(dateLine(date), "");
  line("HOPLTPILOT: ", header.pilot);
  line("HOGTYGLIDERTYPE: ", header.gliderType);
  line("HOGIDGLIDERID: ", header.gliderId);
  line("HOCIDCOMPETITIONID: ", header.competitionId);
  line("HODTM100GPSDATUM: WGS-84", "");
  line("HOCCLCOMPETITION CLASS: ", header.competitionClass);
  line("HOSITSite: ", header.site);
}

}  // namespace

std::optional<std::string> downloadFileName(double date, std::string_view pilotId,
                                            int flightNumber) {
  if (flightNumber < 1 || flightNumber > static_cast<int>(NumberCharacters.size())) {
    return std::nullopt;
  }
  const DateTimeParts t = dateTimeParts(date);
  std::string name(1, static_cast<char>('0' + t.year % 10));
  name += NumberCharacters[static_cast<std::size_t>(t.month - 1)];
  name += NumberCharacters[static_cast<std::size_t>(t.day - 1)];
  name += pilotId;
  name += NumberCharacters[static_cast<std::size_t>(flightNumber - 1)];
  name += ".igc";
  return name;
}

std::optional<double> downloadDate(const std::vector<DownloadPoint>& points) {
  for (std::size_t i = 1; i < points.size(); ++i) {
    if (points[i].selected) return points[i].time;
  }
  if (!points.empty() && points.front().selected) return points.front().time;
  return std::nullopt;
}

std::string downloadFileText(std::string_view aRecord, const IgcHeaderValues& header,
                             const std::vector<DownloadPoint>& points, double writtenAt,
                             const std::function<void(int)>& progress) {
  std::string text;
  const auto date = downloadDate(points);
  if (!date) return text;
  appendHeader(text, aRecord, header, *date);
  FixLineWriter fixes(text, *date);
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (progress) progress(static_cast<int>((i + 1) * 100 / points.size()));
    const DownloadPoint& point = points[i];
    if (point.selected) fixes.add({point.time, point.latDeg, point.lonDeg, true, 0, point.alt});
  }
  text += "L   ";
  text += ApplicationTitle;
  text += "\r\n";
  text += writtenAtLine(writtenAt);
  text += "\r\n";
  return text;
}

DownloadOutcome writeDownloadedFlight(std::string_view aRecord, const IgcHeaderValues& header,
                                      const std::vector<DownloadPoint>& points,
                                      double writtenAt,
                                      const std::function<void(int)>& progress) {
  DownloadOutcome outcome;
  const auto date = downloadDate(points);
  if (!date) {
    outcome.error = "Es ist kein Punkt für die IGC-Datei ausgewählt.";
    return outcome;
  }
  std::string directory = header.directory;
  if (!directory.empty() && !directory.ends_with('/')) directory += '/';
  std::string name;
  for (int number = 1;; ++number) {
    const auto candidate = downloadFileName(*date, header.pilotId, number);
    if (!candidate) {
      outcome.error = "Im Verzeichnis „" + directory +
                      "“ gibt es für diesen Tag schon 31 IGC-Dateien dieses Piloten.";
      return outcome;
    }
    std::error_code error;
    if (!std::filesystem::exists(directory + *candidate, error)) {
      name = *candidate;
      break;
    }
  }
  const std::string path = directory + name;
  const std::string text = downloadFileText(aRecord, header, points, writtenAt, progress);
  if (auto failure = writeWholeFile(path, withGRecord(text))) {
    outcome.error = std::move(failure);
    return outcome;
  }
  outcome.path = path;
  outcome.status = "igc-File geschrieben (signiert) " + path;
  return outcome;
}

}  // namespace quorvanta
