#pragma once

#include <string>
#include <variant>
#include <vector>

namespace quorvanta {

// What a download session asks of the program that runs it (a window or the
// command-line tool), to be carried out in order. Sessions never touch the
// port, the clock or the file system for the exchange themselves.
struct OpenPort {};    // open the transcript and the port; failures come back as portFailed
struct ClosePort {};
struct WriteBytes {    // one write; a failed write comes back as writeFailed
  std::string bytes;
};
struct SetBaudrate {
  int bitsPerSecond = 0;
};
struct StartTimer {    // single-shot; starting a running timer restarts it
  int timer = 0;
  int milliseconds = 0;
};
struct StopTimer {
  int timer = 0;
};
struct TranscriptText {  // appended to the transcript file as it stands
  std::string text;
};

using SessionCommand =
    std::variant<OpenPort, ClosePort, WriteBytes, SetBaudrate, StartTimer, StopTimer, TranscriptText>;
using SessionCommands = std::vector<SessionCommand>;

}  // namespace quorvanta
