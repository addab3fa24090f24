#include "devices/LoopSessionHost.h"

#include <chrono>
#include <utility>

namespace quorvanta {

LoopSessionHost::LoopSessionHost(EventLoop& loop, std::string transcriptPath,
                                 std::function<std::string()> firstLine)
    : loop_(loop), transcriptPath_(std::move(transcriptPath)), firstLine_(std::move(firstLine)) {}

void LoopSessionHost::startTimer(int timer, int milliseconds) {
  stopTimer(timer);
  running_[timer] = loop_.startTimer(std::chrono::milliseconds(milliseconds), [this, timer] {
    running_.erase(timer);
    if (driver_) driver_->timerFired(timer);
  });
}

void LoopSessionHost::stopTimer(int timer) {
  if (const auto found = running_.find(timer); found != running_.end()) {
    loop_.stopTimer(found->second);
    running_.erase(found);
  }
}

std::optional<std::string> LoopSessionHost::openTranscript() {
  if (transcriptPath_.empty() || transcript_.is_open()) return std::nullopt;
  transcript_.open(transcriptPath_, std::ios::binary | std::ios::trunc);
  if (!transcript_) {
    return "Die Protokolldatei " + transcriptPath_ + " lässt sich nicht anlegen.";
  }
  if (firstLine_) appendTranscript(firstLine_() + "\r\n");
  return std::nullopt;
}

void LoopSessionHost::appendTranscript(std::string_view text) {
  if (transcript_.is_open()) {
    transcript_.write(text.data(), static_cast<std::streamsize>(text.size()));
    transcript_.flush();
  }
}

LoopSessionRun::LoopSessionRun(DownloadSession& session, void (*configure)(TVaComm&),
                               std::string device, std::string transcriptPath,
                               std::function<std::string()> firstLine)
    : host(loop, std::move(transcriptPath), std::move(firstLine)), driver(session, port, host) {
  configure(port);
  port.setDeviceName(std::move(device));
  host.connect(driver);
}

}  // namespace quorvanta
