#pragma once

#include <fstream>
#include <functional>
#include <map>
#include <string>

#include "devices/SessionDriver.h"
#include "devices/port/EventLoop.h"

namespace quorvanta {

// Runs a session's timers on an EventLoop and writes its transcript, when a
// path is given, to that file: the host of downloads without a window.
class LoopSessionHost : public SessionHost {
 public:
  // `firstLine` gives the transcript's first line when it is opened (none
  // when empty).
  LoopSessionHost(EventLoop& loop, std::string transcriptPath,
                  std::function<std::string()> firstLine);

  // The driver whose session gets the timer expiries.
  void connect(SessionDriver& driver) { driver_ = &driver; }

  void startTimer(int timer, int milliseconds) override;
  void stopTimer(int timer) override;
  std::optional<std::string> openTranscript() override;
  void appendTranscript(std::string_view text) override;

 private:
  EventLoop& loop_;
  std::string transcriptPath_;
  std::function<std::string()> firstLine_;
  std::ofstream transcript_;
  SessionDriver* driver_ = nullptr;
  std::map<int, int> running_;  // session timer -> loop timer
};

// Everything a download without a window runs `session` with: the event
// loop, the port set up by `configure` on `device`, the host and the driver.
struct LoopSessionRun {
  LoopSessionRun(DownloadSession& session, void (*configure)(TVaComm&), std::string device,
                 std::string transcriptPath, std::function<std::string()> firstLine);

  // Runs the loop until `done` or for at most `limit`; returns done(). The
  // sessions end every stalled wait themselves: the limit only guards
  // against one that would not.
  bool runFor(const std::function<bool()>& done, EventLoop::Clock::duration limit) {
    return loop.runUntil(done, EventLoop::Clock::now() + limit);
  }

  EventLoop loop;
  TVaComm port{loop};
  LoopSessionHost host;
  SessionDriver driver;
};

}  // namespace quorvanta
