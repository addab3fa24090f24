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
  text += programLines(writtenAt);
  return text;
}

std::string programLines(double writtenAt) {
  std::string lines("L   ");
  lines += ApplicationTitle;
  lines += "\r\nL   ";
  lines += Weekdays[static_cast<std::size_t>(dateTimeParts(writtenAt).weekday)];
  lines += shortDateText(writtenAt) + "  " + timeOfDayText(writtenAt) + "\r\n";
  return lines;
}

DownloadOutcome freeDownloadPath(double date, const IgcHeaderValues& header) {
  DownloadOutcome outcome;
  std::string directory = header.directory;
  if (!directory.empty() && !directory.ends_with('/')) directory += '/';
  for (int number = 1;; ++number) {
    const auto candidate = downloadFileName(date, header.pilotId, number);
    if (!candidate) {
      outcome.error = "Im Verzeichnis „" + directory +
                      "“ gibt es für diesen Tag schon 31 IGC-Dateien dieses Piloten.";
      return outcome;
    }
    std::error_code error;
    if (!std::filesystem::exists(directory + *candidate, error)) {
      outcome.path = directory + *candidate;
      return outcome;
    }
  }
}

DownloadOutcome writeDownloadedFlight(std::string_view aRecord, const IgcHeaderValues& header,
                                      const std::vector<DownloadPoint>& points,
                                      double writtenAt,
                                      const std::function<void(int)>& progress) {
  const auto date = downloadDate(points);
  if (!date) return {"Es ist kein Punkt für die IGC-Datei ausgewählt.", {}, {}};
  DownloadOutcome outcome = freeDownloadPath(*date, header);
  if (outcome.error) return outcome;
  const std::string text = downloadFileText(aRecord, header, points, writtenAt, progress);
  if (auto failure = writeWholeFile(outcome.path, withGRecord(text))) {
    return {std::move(failure), {}, {}};
  }
  outcome.status = "igc-File geschrieben (signiert) " + outcome.path;
  return outcome;
}

}  // namespace quorvanta
