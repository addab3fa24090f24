#pragma once

#include <memory>

#include <QObject>
#include <QThread>

#include "devices/port/CommDispatcher.h"

namespace quorvanta {

// Runs a port thread's calls on the thread that created the dispatcher (the
// GUI thread) through its event queue. A waiting port thread gives up when
// its port is abandoned or the dispatcher is destroyed, so that closing a
// window never waits on a port thread and no call runs after the window is
// gone. Create and destroy it on the GUI thread.
class QtCommDispatcher : public CommDispatcher {
 public:
  QtCommDispatcher();
  ~QtCommDispatcher() override;
  QtCommDispatcher(const QtCommDispatcher&) = delete;
  QtCommDispatcher& operator=(const QtCommDispatcher&) = delete;

  void runAndWait(std::function<void()> call, const std::atomic<bool>& abandoned) override;

 private:
  struct Shared;
  std::shared_ptr<Shared> shared_;
  QThread* const guiThread_;
  std::unique_ptr<QObject> receiver_;  // lives on the GUI thread; its queue runs the calls
};

}  // namespace quorvanta
