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

}  // namespace quorvanta
