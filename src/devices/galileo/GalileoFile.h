#pragma once

#include <optional>
#include <string>
#include <vector>

#include "flight/DownloadWriter.h"
#include "flight/IgcHeader.h"

namespace quorvanta::galileo {

// The most lines an answer may have.
inline constexpr int MaxLines = 17000;

// The flight's date from the first line that begins with "HFDTE": day,
// month and two-digit year at its characters 6 to 11, or after "HFDTEDATE:"
// as newer recorders write it. Nothing when there is no such line or it
// holds no date.
std::optional<double> flightDate(const std::vector<std::string>& lines);

std::string tooManyLinesText();

// Why these received lines cannot be written as a track, or nothing.
std::optional<std::string> trackRefusal(const std::vector<std::string>& lines);

// The file as written: the leading A and H lines, the competition HO lines
// of the header, the records up to the instrument's G record, the program's
// two L lines of `writtenAt`, then the G record; CR LF line ends. Empty lines
// are left out.
std::string trackFileText(const std::vector<std::string>& lines, const IgcHeaderValues& header,
                          double writtenAt);

// Names the file by the flight's date, writes it into the header's
// directory and signs it when it holds no G record of the instrument.
DownloadOutcome writeTrackFile(const std::vector<std::string>& lines,
                               const IgcHeaderValues& header, double writtenAt);

}  // namespace quorvanta::galileo
