// The Galileo window's session driven by the input as the window drives it:
// answers in reads of any size, the answer timer running out, the commands,
// and "igc-File speichern" whenever the window offers it.
//
// Each step is one byte, some take the bytes after it:
//   xxxxxx00  a read from the port: the next byte counts the bytes that follow
//   xxxxxx01  the answer timer runs out
//   nnnnnn10  command or port event n (modulo the session's count)
//   xxxxxx11  "igc-File speichern", when the button is shown
// A written file holds a G record, ours (then it verifies) or the
// instrument's.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "FuzzSupport.h"
#include "devices/galileo/GalileoSession.h"
#include "flight/FileContent.h"
#include "flight/GRecord.h"
#include "flight/TextLines.h"

namespace quorvanta {
namespace {

using fuzz::require;
using fuzz::Steps;

void press(galileo::GalileoSession& session, int button) {
  switch (button % 8) {
    case 0: session.readSerialNumber(); break;
    case 1: session.readTrack(); break;
    case 2: session.readWaypoints(); break;
    case 3: session.readRoutes(); break;
    case 4: session.changePort(); break;
    case 5: session.setShowRx(!session.view().showRx); break;
    case 6: session.lineErrors(button); break;
    default: session.portFailed("Port verloren"); break;
  }
}

void save(galileo::GalileoSession& session) {
  if (!session.view().saveButtonVisible || session.trackRefusal()) return;
  IgcHeaderValues header{"Erika Mustermann", "Nova Mentor 7", "12345", "Paraglider sport",
                         "Tegelberg", "DHV-OLC-2003", "ERMU",
                         fuzz::scratch().path().string() + "/"};
  const DownloadOutcome outcome = session.writeFile(header, 45000.5);
  if (outcome.error) return;
  std::string content;
  require(!readWholeFile(outcome.path, content), "the written file can be read");
  std::filesystem::remove(outcome.path);
  const bool signedByUs = outcome.status.find("hinzugefügt") != std::string::npos;
  require(!signedByUs || verifyGRecord(content) == GRecordCheck::Valid,
          "a file the program signed verifies");
  const auto lines = splitLines(content);
  require(std::any_of(lines.begin(), lines.end(),
                      [](const std::string& line) { return line.starts_with("G"); }),
          "a written file holds a G record as a reader sees its lines");
}

}  // namespace
}  // namespace quorvanta

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvanta;
  Steps steps(data, size);
  galileo::GalileoSession session;
  while (!steps.atEnd()) {
    const std::uint8_t step = steps.byte();
    switch (step & 3) {
      case 0: session.received(steps.bytes(steps.byte())); break;
      case 1: session.timerFired(galileo::AnswerTimer); break;
      case 2: press(session, step >> 2); break;
      default: save(session); break;
    }
  }
  return 0;
}
