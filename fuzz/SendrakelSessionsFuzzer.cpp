// The Sendrakel windows' sessions, download and settings, driven by the input
// as their windows drive them: bytes from the logger in reads of any size,
// timers running out, and button presses.
//
// The first byte picks the session (even: download, odd: settings); then each
// step is one byte, some take the bytes after it:
//   xxxxxx00  a read from the port: the next byte counts the bytes that follow
//   xxxxxn01  timer n + 1 runs out (the answer timer or the speed switch)
//   nnnnnn10  button or port event n (modulo the session's count); some take
//             the next byte
//   xxxxxx11  the pilot looks at the window: nothing happens

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <variant>

#include "FuzzSupport.h"
#include "devices/sendrakel/SendrakelSession.h"
#include "devices/sendrakel/SendrakelSettingsSession.h"
#include "flight/FileContent.h"

namespace quorvanta {
namespace {

using fuzz::require;
using fuzz::Steps;
using sendrakel::SendrakelSession;
using sendrakel::SendrakelSettingsSession;

IgcHeaderValues header() {
  IgcHeaderValues values;
  values.pilot = "Erika Mustermann";
  values.gliderType = "Falke 13";
  values.gliderId = "4711";
  values.competitionClass = "Flexible Wing (FAI class 1)";
  values.site = "Wasserkuppe";
  values.competitionId = "DHV-OLC-2003";
  values.pilotId = "ERMU";
  values.directory = fuzz::scratch().path().string() + "/";
  return values;
}

// A written file begins with the logger's A record and is whole lines; it
// is removed again so that every run finds the same free names.
void checkWritten(const DownloadOutcome& outcome) {
  if (outcome.error) return;
  std::string content;
  require(!readWholeFile(outcome.path, content), "the written file can be read", outcome.path);
  require(content.starts_with("ASRK"), "the file begins with the logger's A record");
  require(content.ends_with("\r\n"), "the file ends with a whole line");
  std::error_code ignored;
  std::filesystem::remove(outcome.path, ignored);
}

void press(SendrakelSession& session, int button, Steps& steps) {
  static const std::string dumpPath = (fuzz::scratch().path() / "hex.txt").string();
  switch (button % 14) {
    case 0: session.readTracks(); break;
    case 1: session.readHexDump(dumpPath); break;
    case 2: session.readStatus(); break;
    case 3: session.deleteTracks(); break;
    case 4: session.loggerOn(); break;
    case 5: session.loggerOff(); break;
    case 6: session.closePort(); break;
    case 7: session.portFailed("Port verloren"); break;
    case 8: session.writeFailed(); break;
    case 9: session.showTrackList(); break;
    case 10: {
      const int item = steps.byte() - 2;
      session.tickTrack(item, steps.byte() % 2 == 0);
      break;
    }
    case 11: session.setTakeNames(!session.view().takeNames); break;
    case 12: checkWritten(session.writeFile(header(), 46000.5)); break;
    default: session.setSpeedIndex(steps.byte() - 2); break;
  }
  session.view().message.clear();  // the window shows it and clears it
}

void checkView(const SendrakelSession& session) {
  const sendrakel::SendrakelView& view = session.view();
  require(view.progress >= 0 && view.progress <= 100, "the progress is a percentage");
  require(session.lines().count >= 0 && session.lines().count <= sendrakel::MaxLines,
          "the received lines fit the table");
  require(!view.tickedTrack || (*view.tickedTrack >= 0 &&
                                *view.tickedTrack < static_cast<int>(view.trackItems.size())),
          "the ticked track is listed");
  require(!view.saveButtonVisible || session.lines().count >= 16,
          "tracks are offered from 16 lines on");
}

void driveDownload(Steps& steps) {
  SendrakelSession session;
  while (!steps.atEnd()) {
    const std::uint8_t step = steps.byte();
    switch (step & 3) {
      case 0: session.received(steps.bytes(steps.byte())); break;
      case 1: session.timerFired(((step >> 2) & 1) + 1); break;
      case 2: press(session, step >> 2, steps); break;
      default: break;
    }
    checkView(session);
  }
}

// Every write is one whole SET sentence; no sequence is longer than 67.
void checkWrites(const SessionCommands& commands) {
  for (const SessionCommand& command : commands) {
    const auto* write = std::get_if<WriteBytes>(&command);
    if (!write) continue;
    require(write->bytes.size() == 18 && write->bytes.starts_with("$PSRK,SET,00") &&
                write->bytes.ends_with("\r\n"),
            "a write is one SET sentence", write->bytes);
  }
}

void driveSettings(Steps& steps) {
  SendrakelSettingsSession session;
  while (!steps.atEnd()) {
    const std::uint8_t step = steps.byte();
    switch (step & 3) {
      case 0: checkWrites(session.received(steps.bytes(steps.byte()))); break;
      case 1: checkWrites(session.timerFired(((step >> 2) & 1) + 1)); break;
      case 2:
        switch ((step >> 2) % 4) {
          case 0: {
            sendrakel::LoggerSettings values;
            values.pilot = std::string(steps.bytes(steps.byte() % 24));
            values.gliderType = std::string(steps.bytes(steps.byte() % 24));
            values.interval = steps.byte() - 8;
            values.powerDown = steps.byte() * 2 - 16;
            values.lcd = steps.byte() % 2 == 1;
            checkWrites(session.send(values));
            break;
          }
          case 1: session.close(); break;
          case 2: session.portFailed("Port verloren"); break;
          default: session.writeFailed(); break;
        }
        session.message().clear();
        break;
      default: break;
    }
    require(session.written() <= 67, "at most 67 writes in a sequence");
  }
}

}  // namespace
}  // namespace quorvanta

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvanta;
  Steps steps(data, size);
  if (steps.byte() % 2 == 0) {
    driveDownload(steps);
  } else {
    driveSettings(steps);
  }
  return 0;
}
