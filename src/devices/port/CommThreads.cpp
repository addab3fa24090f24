#include "devices/port/CommThreads.h"

#include <algorithm>
#include <cerrno>

#include "devices/port/CommPlatform.h"

namespace quorvanta {

namespace {

using platform::DeviceWait;
using platform::WaitResult;

// While received bytes lie unread after a hand-over the device stays
// readable; look for more only this often rather than spin.
constexpr int UnreadPauseMs = 20;
// How often the driver's line counters are compared when line events are
// watched (the wait cannot report them).
constexpr int LineWatchMs = 100;
// The pause before a failed write is tried again.
constexpr int WriteRetryMs = 100;

// Follows a thread's priority level as the port changes it.
class PriorityFollower {
 public:
  explicit PriorityFollower(const std::atomic<TThreadPriority>& wanted) : wanted_(wanted) {}
  void follow() {
    const TThreadPriority wanted = wanted_;
    if (applied_ == wanted) return;
    platform::applyThreadPriority(wanted);
    applied_ = wanted;
  }

 private:
  const std::atomic<TThreadPriority>& wanted_;
  int applied_ = -1;  // none yet
};

bool watchesLines(const TVaCommEvents& monitored) {
  for (const TVaCommEvent event : {ceError, ceBreak, ceCts, ceDsr, ceRing, ceRlsd}) {
    if (monitored.contains(event)) return true;
  }
  return false;
}

TVaCommEvents lineEvents(const platform::LineCounters& before,
                         const platform::LineCounters& now, const TVaCommEvents& monitored) {
  TVaCommEvents events;
  const auto add = [&](TVaCommEvent event, bool happened) {
    if (happened && monitored.contains(event)) events.insert(event);
  };
  add(ceError, platform::lineErrorFlags(before, now) != 0);
  add(ceBreak, now.breaks != before.breaks);
  add(ceCts, now.cts != before.cts);
  add(ceDsr, now.dsr != before.dsr);
  add(ceRing, now.ring != before.ring);
  add(ceRlsd, now.dcd != before.dcd);
  return events;
}

void reportLost(PortLink& link, int code) {
  link.markLost(errorText(code));
  link.deliverLost();
}

// Bytes waiting in the device; -1 when the device has gone.
int waitingBytes(PortLink& link) {
  int count = 0;
  if (platform::inputCount(link.fd(), count)) return count;
  return platform::isLostDevice(errno) ? -1 : 0;
}

}  // namespace

void runEventThread(std::shared_ptr<PortLink> link) {
  PriorityFollower priority(link->eventPriority);
  const bool watchInput = link->monitored().contains(ceRxChar);
  platform::LineCounters counters = platform::lineCounters(link->fd());
  const int idleTimeoutMs = counters.valid && watchesLines(link->monitored()) ? LineWatchMs : -1;
  int unread = 0;
  bool pausing = false;
  while (!link->stopped()) {
    priority.follow();
    const WaitResult result = platform::waitForDevice(
        link->fd(), watchInput && !pausing ? DeviceWait::Input : DeviceWait::HangUpOnly,
        link->wakeHandle(), pausing ? UnreadPauseMs : idleTimeoutMs);
    if (link->stopped()) return;
    if (result == WaitResult::Woken) return link->deliverLost();
    if (result == WaitResult::Failed) return reportLost(*link, errno);
    TVaCommEvents events;
    const int waiting = watchInput ? waitingBytes(*link) : 0;
    if (waiting < 0) return reportLost(*link, EIO);
    if (waiting > 0 && (!pausing || waiting > unread)) events.insert(ceRxChar);
    if (result == WaitResult::HungUp) {
      // Hand over what arrived before the line went.
      if (!events.empty()) link->deliver(events);
      if (link->stopped()) return;
      return reportLost(*link, EIO);
    }
    if (counters.valid) {
      const platform::LineCounters now = platform::lineCounters(link->fd());
      events |= lineEvents(counters, now, link->monitored());
      counters = now;
    }
    const unsigned readsBefore = link->reads;
    if (!events.empty()) link->deliver(events);
    // A handler may have closed the port, and with it the descriptor.
    if (link->stopped()) return;
    unread = watchInput ? std::max(waitingBytes(*link), 0) : 0;
    // Bytes that came in after the handler had read are new and handed over
    // at once; only bytes it left lying make the thread pause. A readable
    // device with nothing to read must not make the wait spin either.
    const bool handlerRead = link->reads != readsBefore;
    pausing = (unread > 0 && !handlerRead) || (result == WaitResult::Ready && waiting == 0);
  }
}

void runWriteThread(std::shared_ptr<PortLink> link) {
  PriorityFollower priority(link->writePriority);
  TransmitQueue& queue = link->transmitQueue();
  while (!link->stopped()) {
    priority.follow();
    const std::span<const unsigned char> bytes = queue.waitForBytes();
    if (bytes.empty()) return;
    const ssize_t written = platform::writeSome(link->fd(), bytes.data(), bytes.size());
    if (written > 0) {
      if (queue.remove(static_cast<std::size_t>(written)) &&
          link->monitored().contains(ceTxEmpty)) {
        link->deliver({ceTxEmpty});
      }
      continue;
    }
    const int code = written == 0 ? EAGAIN : errno;
    if (platform::isLostDevice(code)) return link->markLost(errorText(code));
    if (platform::isWouldBlock(code)) {
      const WaitResult result = platform::waitForDevice(link->fd(), DeviceWait::Output,
                                                        link->wakeHandle(), -1);
      if (result == WaitResult::HungUp) return link->markLost(errorText(EIO));
      continue;
    }
    // The bytes stay queued; OnError tells the window when the device holds
    // error flags.
    link->deliver({ceError});
    if (link->stopped()) return;
    platform::waitForDevice(link->fd(), DeviceWait::HangUpOnly, link->wakeHandle(), WriteRetryMs);
  }
}

}  // namespace quorvanta
