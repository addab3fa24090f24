// The Garmin download window's session driven by the input, as the window
// and its session driver drive it: bytes from the unit in reads of any size,
// timers that run out on a simulated clock, button presses where the window
// shows the button, and a port that fails to open, write or stay.
//
// Each step is one byte, some take the bytes after it:
//   xxxxxx00  a read from the port: the next byte counts the bytes that follow
//   xxxxxx01  time passes until the next timer runs out
//   nnnnnn10  button or port event n of pressButton, tick buttons with a byte
//   dddddd11  the window idles d * 10 ms; the timers due fire in order

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <variant>

#include "FuzzSupport.h"
#include "devices/garmin/GarminPacket.h"
#include "devices/garmin/GarminSession.h"
#include "devices/garmin/GarminTrack.h"
#include "flight/DayCount.h"
#include "flight/FileContent.h"
#include "flight/GRecord.h"
#include "flight/IgcReader.h"

namespace quorvanta::garmin {
namespace {

using fuzz::require;
using fuzz::Steps;

// No timer of the session runs this often within one step.
constexpr int MaxFiringsPerStep = 1000;

// Buttons and port events of Window::pressButton.
constexpr int ButtonCount = 17;

// Every frame the session writes is one whole, well-formed packet.
void checkFrame(const std::string& frame) {
  PacketFramer framer;
  framer.append(frame);
  const auto packet = framer.next();
  require(packet && packet->lengthOk && packet->checksumOk && packet->raw == frame,
          "a written frame is one good packet");
  require(!framer.next() && framer.bufferedBytes() == 0, "a write holds nothing but the packet");
}

void checkView(const GarminSession& session) {
  const GarminView& view = session.view();
  require(view.display.size() <= 2000 && view.rxText.size() <= 1000 && view.txText.size() <= 1000,
          "the text windows stay within their limits");
  require(view.trackTicked.size() == view.trackItems.size() &&
              view.pointTicked.size() == view.pointItems.size(),
          "every list item has its tick box");
  require(view.progressMaximum >= 0 && view.progress >= 0 &&
              (!view.progressVisible || view.progress <= view.progressMaximum),
          "the progress bar stays within its range");
  require(session.trackPointCount() >= 0 && session.trackPointCount() <= TrackTable::Capacity,
          "the track table stays within its capacity");
}

IgcHeaderValues header() {
  return {"Hans Muster",  "Gin Boomerang", "12",   "Paraglider open",
          "Tegelberg",    "DHV-OLC-2003",  "ABCD", fuzz::scratch().path().string() + "/"};
}

// The window, its session driver and the port, with the clock in
// milliseconds.
class Window {
 public:
  void run(SessionCommands commands) {
    while (!commands.empty()) {
      SessionCommands followUp;
      for (const SessionCommand& command : commands) {
        std::visit([&](const auto& step) { carryOut(step, followUp); }, command);
        if (!followUp.empty()) break;
      }
      commands = std::move(followUp);
    }
    require(portOpen_ || timers_.empty(), "a closed port runs no timers");
    session_.view().message.clear();  // shown in a message box and gone
    checkView(session_);
  }

  void receive(std::string_view bytes) {
    if (portOpen_) run(session_.received(bytes));
  }

  void waitForTimer() {
    if (timers_.empty()) return;
    const auto next = std::min_element(timers_.begin(), timers_.end(), [](auto& a, auto& b) {
      return a.second < b.second;
    });
    now_ = std::max(now_, next->second);
    fire(next->first);
  }

  void idle(std::int64_t milliseconds) {
    const std::int64_t until = now_ + milliseconds;
    for (int firings = 0;; ++firings) {
      require(firings < MaxFiringsPerStep, "timers do not fire without end");
      const auto next = std::min_element(timers_.begin(), timers_.end(), [](auto& a, auto& b) {
        return a.second < b.second;
      });
      if (next == timers_.end() || next->second > until) break;
      now_ = next->second;
      fire(next->first);
    }
    now_ = until;
  }

  void pressButton(int button, Steps& steps);

 private:
  void fire(int timer) {
    timers_.erase(timer);
    run(session_.timerFired(timer));
  }

  void carryOut(const OpenPort&, SessionCommands& followUp) {
    if (portOpen_) return;
    if (std::exchange(openFails_, false)) {
      followUp = session_.portFailed("");
      return;
    }
    portOpen_ = true;
  }
  void carryOut(const ClosePort&, SessionCommands&) { portOpen_ = false; }
  void carryOut(const WriteBytes& write, SessionCommands& followUp) {
    require(portOpen_, "the session writes to an open port only");
    checkFrame(write.bytes);
    if (std::exchange(writeFails_, false)) followUp = session_.writeFailed();
  }
  void carryOut(const SetBaudrate&, SessionCommands&) {}
  void carryOut(const StartTimer& start, SessionCommands&) {
    require(start.timer >= Watchdog && start.timer <= GiveUp && start.milliseconds > 0,
            "a timer is one of the session's, with a time to run");
    timers_[start.timer] = now_ + start.milliseconds;
  }
  void carryOut(const StopTimer& stop, SessionCommands&) { timers_.erase(stop.timer); }
  void carryOut(const TranscriptText&, SessionCommands&) {}

  void tick(Steps& steps, bool points);
  void finish();

  GarminSession session_;
  bool portOpen_ = false;
  bool openFails_ = false, writeFails_ = false;
  std::map<int, std::int64_t> timers_;  // timer -> when it runs out
  std::int64_t now_ = 0;
};

// The buttons the window shows at the moment; a press on a hidden one is
// lost, as the pilot could not have made it.
void Window::pressButton(int button, Steps& steps) {
  const GarminView& view = session_.view();
  const bool transferPage = view.page == GarminView::Page::Transfer;
  const bool idle = transferPage && !view.transferRunning;
  const bool commands = idle && view.commandButtonsVisible;
  switch (button) {
    case 0: if (idle) run(session_.readProductData()); break;
    case 1: if (commands) run(session_.readTracks()); break;
    case 2: if (commands) run(session_.readWaypoints()); break;
    case 3: if (commands) run(session_.readDateTime()); break;
    case 4: if (commands) run(session_.readRoutes()); break;
    case 5: if (commands) run(session_.readAlmanac()); break;
    case 6: if (transferPage) run(session_.abortTransfer()); break;
    case 7: if (transferPage) session_.setShowRxTx(!view.showRxTx); break;
    case 8: if (transferPage && view.saveButtonVisible) run(session_.showTrackList()); break;
    case 9: tick(steps, false); break;
    case 10:
      if (view.page == GarminView::Page::TrackChoice && view.nextVisible) session_.showPointList();
      break;
    case 11: tick(steps, true); break;
    case 12: if (view.page == GarminView::Page::PointChoice && view.doneVisible) finish(); break;
    case 13: if (view.page == GarminView::Page::PointChoice) session_.leavePointList(); break;
    case 14: writeFails_ = true; break;
    case 15: openFails_ = true; break;
    default: if (portOpen_) run(session_.portFailed("")); break;
  }
  checkView(session_);
}

void Window::tick(Steps& steps, bool points) {
  const GarminView& view = session_.view();
  const std::uint8_t choice = steps.byte();
  const std::size_t items = points ? view.pointItems.size() : view.trackItems.size();
  const bool shown = points ? view.page == GarminView::Page::PointChoice
                            : view.page != GarminView::Page::Transfer && view.trackBoxesEnabled;
  if (!shown || items == 0) return;
  const int item = static_cast<int>((choice >> 1) % items);
  if (points) {
    session_.tickPoint(item, choice & 1);
  } else {
    session_.tickTrack(item, choice & 1);
  }
}

// "Fertig" with the header confirmed: a written file is signed, reads as a
// downloaded flight with every ticked point, and is removed again so that
// the flight numbers of the day never run out.
void Window::finish() {
  const auto ticked = static_cast<int>(
      std::count(session_.view().pointTicked.begin(), session_.view().pointTicked.end(), true));
  const double writtenAt = *encodeDate(2003, 7, 20) + static_cast<double>(now_) / 86400000;
  const DownloadOutcome outcome = session_.writeFile(header(), writtenAt);
  if (outcome.error) return;
  std::string content;
  require(!readWholeFile(outcome.path, content), "the written file is there");
  require(verifyGRecord(content) == GRecordCheck::Valid, "the written file is signed");
  auto record = std::make_unique<FlightRecord>();
  const ReadResult read = readFlightFile(outcome.path, *record, {.fromDownload = true});
  require(read.ok(), "the written file reads", read.ok() ? "" : read.error->message);
  require(record->FixCount == ticked, "the written file holds the ticked points");
  std::filesystem::remove(outcome.path);
}

}  // namespace
}  // namespace quorvanta::garmin

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvanta::garmin;
  auto window = std::make_unique<Window>();
  Steps steps(data, size);
  while (!steps.atEnd()) {
    const std::uint8_t step = steps.byte();
    switch (step & 3) {
      case 0: window->receive(steps.bytes(steps.byte())); break;
      case 1: window->waitForTimer(); break;
      case 2: window->pressButton((step >> 2) % ButtonCount, steps); break;
      default: window->idle(10 * (step >> 2)); break;
    }
  }
  return 0;
}
