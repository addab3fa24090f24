#include "app/QtCommDispatcher.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace quorvanta {

namespace {

// How often a waiting port thread looks at its port's abandoned flag.
constexpr auto WaitSlice = std::chrono::milliseconds(10);

// One handed-over call. The waiting thread and the GUI thread settle under
// the shared mutex whether it runs: a call dropped by its waiter never starts.
struct Pending {
  enum class State { Queued, Running, Done, Dropped };
  State state = State::Queued;
};

}  // namespace

struct QtCommDispatcher::Shared {
  std::mutex mutex;
  std::condition_variable changed;
  bool shutDown = false;
};

QtCommDispatcher::QtCommDispatcher()
    : shared_(std::make_shared<Shared>()),
      guiThread_(QThread::currentThread()),
      receiver_(std::make_unique<QObject>()) {}

QtCommDispatcher::~QtCommDispatcher() {
  {
    const std::lock_guard lock(shared_->mutex);
    shared_->shutDown = true;
  }
  shared_->changed.notify_all();
  // Deleting the receiver discards the calls still queued for it.
}

void QtCommDispatcher::runAndWait(std::function<void()> call, const std::atomic<bool>& abandoned) {
  if (QThread::currentThread() == guiThread_) {
    if (!abandoned.load()) call();
    return;
  }
  const std::shared_ptr<Shared> shared = shared_;
  const auto pending = std::make_shared<Pending>();
  QMetaObject::invokeMethod(
      receiver_.get(),
      [shared, pending, call = std::move(call)] {
        {
          const std::lock_guard lock(shared->mutex);
          if (pending->state != Pending::State::Queued || shared->shutDown) return;
          pending->state = Pending::State::Running;
        }
        call();
        {
          const std::lock_guard lock(shared->mutex);
          pending->state = Pending::State::Done;
        }
        shared->changed.notify_all();
      },
      Qt::QueuedConnection);
  std::unique_lock lock(shared->mutex);
  while (pending->state != Pending::State::Done) {
    // Also while the call runs: its handler may be inside a modal loop that
    // closes the port, and closing must not wait on this thread.
    if (shared->shutDown || abandoned.load()) {
      if (pending->state == Pending::State::Queued) pending->state = Pending::State::Dropped;
      return;
    }
    shared->changed.wait_for(lock, WaitSlice);
  }
}

}  // namespace quorvanta
