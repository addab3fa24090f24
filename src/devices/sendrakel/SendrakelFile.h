#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "flight/DownloadWriter.h"
#include "flight/IgcHeader.h"
#include "flight/OneBasedArray.h"

namespace quorvanta::sendrakel {

// The lines of the logger's last track answer, numbered from 1.
inline constexpr int MaxLines = 33000;

struct LoggerLines {
  OneBasedArray<std::string, MaxLines> line;
  int count = 0;

  // False when the table is full; the line is then not stored.
  bool add(std::string text);
};

// One track of the answer: from its "ASRK" line (the logger's A record) to
// the line before the next one or the last line.
struct LoggerTrack {
  int firstLine = 0, lastLine = 0;
  std::optional<double> date;  // of the first fix, from the last "HFDTE" before it
  std::string firstTime, lastTime;  // "hh:mm:ss" of the first and last B record
  int points = 0;
};

std::vector<LoggerTrack> loggerTracks(const LoggerLines& lines);

// "Track n dd.mm.yyyy hh:mm:ss - hh:mm:ss UTC k Punkte"
std::string trackItemText(int number, const LoggerTrack& track);

struct LoggerFileText {
  std::string text;
  bool loggerSigned = false;  // the logger's G record was copied: it ends the file
};

// The IGC file of one track, CR LF line ends: the logger's A record (the
// first "ASRK" line of the answer), the track's header, the HO lines the
// header lacks, the track's records and the program's two L lines. With
// `takeNames` pilot, glider type and glider ID come from the logger and its
// G record is kept; otherwise they come from `header`, the logger's G lines
// are left out and the text is still to be signed.
LoggerFileText loggerFileText(const LoggerLines& lines, const LoggerTrack& track, bool takeNames,
                              const IgcHeaderValues& header, double writtenAt);

// Names and writes the file of a track into the header's directory, signed
// unless the logger's own G record was kept.
DownloadOutcome writeLoggerFile(const LoggerLines& lines, const LoggerTrack& track,
                                bool takeNames, const IgcHeaderValues& header,
                                double writtenAt);

// The hex dump file: each full page of 257 bytes as decimal numbers under
// "Speicherseite Nr. n:", then the bytes of an incomplete last page raw.
std::string hexDumpText(std::string_view memory);

}  // namespace quorvanta::sendrakel
