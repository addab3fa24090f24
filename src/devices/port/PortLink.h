#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "devices/port/CommDispatcher.h"
#include "devices/port/CommTypes.h"
#include "devices/port/TransmitQueue.h"

namespace quorvanta {

// What an open port shares with its event and write threads. The threads
// hold it by shared_ptr, so it outlives the port object while one of them
// is still handing an event over.
class PortLink : public std::enable_shared_from_this<PortLink> {
 public:
  PortLink(CommDispatcher& dispatcher, int fd, int wakeHandle, TVaCommEvents monitored,
           std::size_t writeSize);
  ~PortLink();
  PortLink(const PortLink&) = delete;
  PortLink& operator=(const PortLink&) = delete;

  int fd() const { return fd_; }
  int wakeHandle() const { return wakeHandle_; }
  const TVaCommEvents& monitored() const { return monitored_; }
  TransmitQueue& transmitQueue() { return transmitQueue_; }

  // Set by the port; called on the user-interface thread only, and only
  // while the link has not been stopped.
  std::function<void(TVaCommEvents)> onEvents;
  std::function<void(const std::string& reason)> onLost;

  // From a background thread: runs the handler on the user-interface thread
  // and waits until it has run, or until the link is stopped.
  void deliver(TVaCommEvents events);
  void deliverLost();

  // On the user-interface thread: whether `thread` is waiting for a handler
  // that is running now.
  bool isDelivering(std::thread::id thread) const;

  // Tells the threads to end and releases them from every wait.
  void stop();
  bool stopped() const { return stopped_; }

  // The device has gone; the event thread reports it once and ends.
  void markLost(const std::string& reason);
  bool lost() const { return lost_; }

  std::atomic<TThreadPriority> eventPriority{tpNormal};
  std::atomic<TThreadPriority> writePriority{tpHighest};
  // Reads of received bytes so far, so that the event thread tells bytes a
  // handler left unread from bytes that arrived after it had read.
  std::atomic<unsigned> reads{0};

 private:
  void handOver(std::function<void()> call);

  CommDispatcher& dispatcher_;
  const int fd_;
  const int wakeHandle_;
  const TVaCommEvents monitored_;
  TransmitQueue transmitQueue_;
  std::atomic<bool> stopped_{false};
  std::atomic<bool> lost_{false};
  std::mutex lostMutex_;
  std::string lostReason_;
  std::vector<std::thread::id> delivering_;  // user-interface thread only
};

}  // namespace quorvanta
