// The MLR/Log_it! and Renschler windows' sessions driven by the input as
// the windows drive them: bytes in reads of any size, the three timers, the
// buttons, the point list with its ticks and time window, and "Fertig".
//
// The first byte picks the session (bit 0: Renschler) and its speed choices
// (bits 1-2 and 3-4). Then each step is one byte, some take the bytes after it:
//   xxxxxs00  a read from the port: the next byte counts the bytes that
//             follow, times 16 when s is set
//   nnnnnn01  timer n (modulo 3) runs out
//   nnnnnn10  button or port event n (modulo the sessions' count)
//   xxxxxx11  "igc-File speichern" and "Fertig", when the button is shown
// The stores never hold more than their capacity, the list has a tick per
// line, and a written file verifies with a B record per ticked point.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>

#include "FuzzSupport.h"
#include "devices/pmlr/MlrSession.h"
#include "devices/pmlr/RenschlerSession.h"
#include "flight/FileContent.h"
#include "flight/GRecord.h"
#include "flight/TextLines.h"

namespace quorvanta {
namespace {

using fuzz::require;
using fuzz::Steps;
using pmlr::PmlrSession;

void press(PmlrSession& session, int button, Steps& steps) {
  switch (button % 12) {
    case 0: session.readSerialNumber(); break;
    case 1: session.readTrack(); break;
    case 2: session.abort(); break;
    case 3: session.changePort(); break;
    case 4: session.setShowRx(!session.view().showRx); break;
    case 5: session.portFailed("Port verloren"); break;
    case 6:
      if (auto* mlr = dynamic_cast<pmlr::MlrSession*>(&session)) mlr->erase();
      break;
    case 7: session.showPointList(); break;
    case 8: session.tickPoint(steps.byte() << 8 | steps.byte(), (button & 16) != 0); break;
    case 9: session.showTimeWindow(43000 + steps.byte()); break;
    case 10:
      // Start and end in steps of about six minutes, on one of 256 days.
      session.setTimeWindow(steps.byte() / 256.0, steps.byte() / 255.0, 43000 + steps.byte());
      break;
    default: session.leavePointList(); break;
  }
}

void save(PmlrSession& session) {
  if (!session.view().saveButtonVisible) return;
  session.showPointList();
  const auto& ticked = session.view().pointTicked;
  const auto selected = static_cast<std::size_t>(std::count(ticked.begin(), ticked.end(), true));
  IgcHeaderValues header{"Erika Mustermann", "Nova Mentor 7", "12345", "Paraglider sport",
                         "Tegelberg", "DHV-OLC-2003", "ERMU",
                         fuzz::scratch().path().string() + "/"};
  const DownloadOutcome outcome = session.writeFile(header, 45000.5);
  if (outcome.error) return;
  std::string content;
  require(!readWholeFile(outcome.path, content), "the written file can be read");
  std::filesystem::remove(outcome.path);
  require(verifyGRecord(content) == GRecordCheck::Valid, "a written file verifies");
  const auto lines = splitLines(content);
  const auto fixes = static_cast<std::size_t>(std::count_if(
      lines.begin(), lines.end(), [](const std::string& line) { return line.starts_with('B'); }));
  require(fixes == selected, "a B record for each ticked point");
}

void checkStores(const PmlrSession& session) {
  const pmlr::TrackStore& store = session.store();
  require(store.highest() <= pmlr::TrackStore::RecordCapacity, "records within the table");
  require(store.pointCount() <= pmlr::TrackStore::PointCapacity, "points within the store");
  require(session.view().pointTicked.size() == session.view().pointItems.size(),
          "a tick for every line of the list");
}

}  // namespace
}  // namespace quorvanta

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvanta;
  Steps steps(data, size);
  const std::uint8_t choice = steps.byte();
  std::unique_ptr<pmlr::PmlrSession> session;
  if (choice & 1) {
    auto renschler = std::make_unique<pmlr::RenschlerSession>();
    renschler->setSpeedIndex(choice >> 1 & 3);
    session = std::move(renschler);
  } else {
    auto mlr = std::make_unique<pmlr::MlrSession>();
    mlr->setSpeedIndices(choice >> 1 & 3, choice >> 3 & 3);
    session = std::move(mlr);
  }
  while (!steps.atEnd()) {
    const std::uint8_t step = steps.byte();
    switch (step & 3) {
      case 0: session->received(steps.bytes(steps.byte() * ((step & 4) ? 16u : 1u))); break;
      case 1: session->timerFired((step >> 2) % 3 + 1); break;
      case 2: press(*session, step >> 2, steps); break;
      default: save(*session); break;
    }
    checkStores(*session);
  }
  return 0;
}
