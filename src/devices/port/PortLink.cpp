#include "devices/port/PortLink.h"

#include <algorithm>

#include "devices/port/CommPlatform.h"

namespace quorvanta {

PortLink::PortLink(CommDispatcher& dispatcher, int fd, int wakeHandle, TVaCommEvents monitored,
                   std::size_t writeSize)
    : dispatcher_(dispatcher),
      fd_(fd),
      wakeHandle_(wakeHandle),
      monitored_(monitored),
      transmitQueue_(writeSize) {}

PortLink::~PortLink() { platform::closeWakeHandle(wakeHandle_); }

void PortLink::deliver(TVaCommEvents events) {
  handOver([this, events] {
    if (auto handler = onEvents) handler(events);
  });
}

void PortLink::deliverLost() {
  std::string reason;
  {
    std::lock_guard lock(lostMutex_);
    reason = lostReason_;
  }
  handOver([this, reason] {
    if (auto handler = onLost) handler(reason);
  });
}

void PortLink::handOver(std::function<void()> call) {
  auto self = shared_from_this();
  const std::thread::id from = std::this_thread::get_id();
  dispatcher_.runAndWait(
      [self, from, call = std::move(call)] {
        if (self->stopped_) return;
        self->delivering_.push_back(from);
        struct Done {
          PortLink& link;
          ~Done() { link.delivering_.pop_back(); }
        } done{*self};
        call();
      },
      stopped_);
}

bool PortLink::isDelivering(std::thread::id thread) const {
  return std::find(delivering_.begin(), delivering_.end(), thread) != delivering_.end();
}

void PortLink::stop() {
  stopped_ = true;
  transmitQueue_.close();
  platform::signalWake(wakeHandle_);
}

void PortLink::markLost(const std::string& reason) {
  {
    std::lock_guard lock(lostMutex_);
    if (lost_) return;
    lostReason_ = reason;
    lost_ = true;
  }
  transmitQueue_.close();
  platform::signalWake(wakeHandle_);
}

}  // namespace quorvanta
