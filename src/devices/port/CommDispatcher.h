#pragma once

#include <atomic>
#include <functional>

namespace quorvanta {

// Hands a call from a port's background thread to the user-interface thread
// and waits until it has run there, so that every port event runs on that
// one thread, one at a time.
class CommDispatcher {
 public:
  virtual ~CommDispatcher() = default;

  // Runs `call` on the user-interface thread and returns once it has run.
  // Returns early, without running it, as soon as `abandoned` becomes true
  // (the port was closed meanwhile) or the dispatcher shuts down, so that a
  // background thread never waits for a thread that will not answer.
  virtual void runAndWait(std::function<void()> call, const std::atomic<bool>& abandoned) = 0;
};

}  // namespace quorvanta
