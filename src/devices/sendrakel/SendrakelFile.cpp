#include "devices/sendrakel/SendrakelFile.h"

#include <array>
#include <utility>

#include "flight/DayCount.h"
#include "flight/FieldText.h"
#include "flight/FileContent.h"
#include "flight/GRecord.h"

namespace quorvanta::sendrakel {

namespace {

bool isTrackStart(std::string_view line) { return line.starts_with("ASRK"); }

std::optional<int> twoDigits(std::string_view line, int column) {
  const std::string_view digits = columns(line, column, 2);
  if (digits.size() != 2 || digits[0] < '0' || digits[0] > '9' || digits[1] < '0' ||
      digits[1] > '9') {
    return std::nullopt;
  }
  return (digits[0] - '0') * 10 + (digits[1] - '0');
}

// "HFDTEddmmyy": the year is always of this century.
std::optional<double> headerDate(std::string_view line) {
  const auto day = twoDigits(line, 6), month = twoDigits(line, 8), year = twoDigits(line, 10);
  if (!day || !month || !year) return std::nullopt;
  return encodeDate(2000 + *year, *month, *day);
}

std::string fixTime(std::string_view line) {
  const std::string_view t = columns(line, 2, 6);
  std::string text;
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (i == 2 || i == 4) text += ':';
    text += t[i];
  }
  return text;
}

// The header lines whose presence decides which HO lines the file needs.
struct HoLine {
  std::string_view loggerLine;
  bool name;  // pilot, glider type or glider ID: the logger's counts only when taken
};
constexpr std::array<HoLine, 7> HoLines = {{{"HFPLT", true},
                                            {"HFGTY", true},
                                            {"HFGID", true},
                                            {"HFCID", false},
                                            {"HFDTM", false},
                                            {"HFCCL", false},
                                            {"HFSIT", false}}};

std::string hoLine(std::size_t which, const IgcHeaderValues& header) {
  switch (which) {
    case 0: return "HOPLTPILOT: " + header.pilot;
    case 1: return "HOGTYGLIDERTYPE: " + header.gliderType;
    case 2: return "HOGIDGLIDERID: " + header.gliderId;
    case 3: return "HOCIDCOMPETITIONID: " + header.competitionId;
    case 4: return "HODTM100GPSDATUM: WGS-84";
    case 5: return "HOCCLCOMPETITION CLASS: " + header.competitionClass;
    default: return "HOSITSite: " + header.site;
  }
}

}  // namespace

bool LoggerLines::add(std::string text) {
  if (count >= MaxLines) return false;
  line[++count] = std::move(text);
  return true;
}

std::vector<LoggerTrack> loggerTracks(const LoggerLines& lines) {
  std::vector<LoggerTrack> tracks;
  std::optional<double> date;
  for (int i = 1; i <= lines.count; ++i) {
    const std::string& line = lines.line[i];
    if (isTrackStart(line)) {
      if (!tracks.empty()) tracks.back().lastLine = i - 1;
      tracks.push_back({i, i, std::nullopt, {}, {}, 0});
      date.reset();
      continue;
    }
    if (tracks.empty()) continue;
    LoggerTrack& track = tracks.back();
    track.lastLine = i;
    if (line.starts_with("HFDTE")) {
      date = headerDate(line);
    } else if (line.starts_with("B")) {
      if (++track.points == 1) {
        track.firstTime = fixTime(line);
        track.date = date;
      }
      track.lastTime = fixTime(line);
    }
  }
  return tracks;
}

std::string trackItemText(int number, const LoggerTrack& track) {
  std::string text = "Track " + std::to_string(number) + " ";
  if (track.date) text += shortDateText(*track.date);
  text += " " + track.firstTime + " - " + track.lastTime + " UTC " +
          std::to_string(track.points) + " Punkte";
  return text;
}

LoggerFileText loggerFileText(const LoggerLines& lines, const LoggerTrack& track, bool takeNames,
                              const IgcHeaderValues& header, double writtenAt) {
  LoggerFileText file;
  std::string& text = file.text;
  const auto put = [&text](std::string_view line) {
    text += line;
    text += "\r\n";
  };
  for (int i = 1; i <= lines.count; ++i) {
    if (isTrackStart(lines.line[i])) {
      put(lines.line[i]);
      break;
    }
  }
  const int last = std::min(track.lastLine, lines.count);
  int i = track.firstLine + 1;
  if (i <= last) put(lines.line[i++]);

  std::array<bool, HoLines.size()> present{};
  for (; i <= last && lines.line[i].starts_with("HF"); ++i) {
    const std::string& line = lines.line[i];
    bool copied = true;
    for (std::size_t k = 0; k < HoLines.size(); ++k) {
      if (!line.starts_with(HoLines[k].loggerLine)) continue;
      copied = takeNames || !HoLines[k].name;
      present[k] = copied;
    }
    if (copied) put(line);
  }
  for (std::size_t k = 0; k < HoLines.size(); ++k) {
    if (!present[k]) put(hoLine(k, header));
  }

  for (; i <= last; ++i) {
    const std::string& line = lines.line[i];
    if (line.find("SendTrk") != std::string::npos) continue;
    if (line.starts_with("G")) {
      if (!takeNames) continue;
      if (!file.loggerSigned) text += programLines(writtenAt);
      file.loggerSigned = true;
    }
    put(line);
  }
  if (!file.loggerSigned) text += programLines(writtenAt);
  return file;
}

DownloadOutcome writeLoggerFile(const LoggerLines& lines, const LoggerTrack& track,
                                bool takeNames, const IgcHeaderValues& header,
                                double writtenAt) {
  if (!track.date) {
    return {"Der Track enthält kein gültiges Datum (HFDTE) vor seinem ersten B-Record und "
            "kann nicht gespeichert werden.",
            {},
            {}};
  }
  DownloadOutcome outcome = freeDownloadPath(*track.date, header);
  if (outcome.error) return outcome;
  const LoggerFileText file = loggerFileText(lines, track, takeNames, header, writtenAt);
  const std::string content = file.loggerSigned ? file.text : withGRecord(file.text);
  if (auto failure = writeWholeFile(outcome.path, content)) return {std::move(failure), {}, {}};
  outcome.status = "igc-File geschrieben (signiert) " + outcome.path;
  return outcome;
}

std::string hexDumpText(std::string_view memory) {
  constexpr std::size_t PageSize = 257;
  const std::size_t pages = memory.size() / PageSize;
  std::string text;
  for (std::size_t page = 0; page < pages; ++page) {
    text += "\r\n\r\nSpeicherseite Nr. " + std::to_string(page) + ":";
    for (std::size_t offset = 0; offset < PageSize; ++offset) {
      if (offset % 16 == 1) text += "\r\n";
      text += std::to_string(static_cast<unsigned char>(memory[page * PageSize + offset]));
      text += "  ";
    }
  }
  text += "\r\n\r\n";
  text += memory.substr(pages * PageSize);
  text += "\r\n";
  return text;
}

}  // namespace quorvanta::sendrakel
