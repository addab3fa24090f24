#include "devices/sim/PtyInstrument.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

namespace quorvanta::sim {

namespace {

using namespace std::chrono_literals;

// While no slave is open the master reports a hang-up on every poll: look
// again after this long instead of spinning.
constexpr auto NoSlaveRetry = 10ms;
// Closing the master discards what the host has not read yet; a unit that
// hangs up after its last byte leaves the host this long to read it, as a
// real line would have delivered it.
constexpr auto HangUpDelay = 100ms;

[[noreturn]] void fail(const char* what) {
  throw std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

void makeRaw(int fd) {
  termios attributes{};
  if (::tcgetattr(fd, &attributes) != 0) fail("tcgetattr");
  ::cfmakeraw(&attributes);
  if (::tcsetattr(fd, TCSANOW, &attributes) != 0) fail("tcsetattr");
}

}  // namespace

PtyInstrument::PtyInstrument(InstrumentModel& unit, Options options)
    : unit_(unit), options_(options) {
  int slave = -1;
  if (::openpty(&master_, &slave, nullptr, nullptr, nullptr) != 0) fail("openpty");
  char name[256] = {};
  const bool named = ::ttyname_r(slave, name, sizeof name) == 0;
  try {
    if (!named) fail("ttyname_r");
    makeRaw(slave);
    makeRaw(master_);
    if (::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK) != 0) fail("fcntl");
    // A program under test started from this process must not inherit the
    // master: it would keep the line up after unplug().
    if (::fcntl(master_, F_SETFD, FD_CLOEXEC) != 0) fail("fcntl");
    wakeFd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeFd_ < 0) fail("eventfd");
  } catch (...) {
    ::close(slave);
    ::close(master_);
    throw;
  }
  ::close(slave);  // from now on the host is the only one to open it
  slavePath_ = name;
  thread_ = std::thread([this] { run(); });
}

PtyInstrument::~PtyInstrument() {
  stop_ = true;
  wake();
  thread_.join();
  closeMaster();
  ::close(wakeFd_);
}

void PtyInstrument::unplug() {
  unplugRequested_ = true;
  wake();
  std::unique_lock lock(mutex_);
  closed_.wait_for(lock, 2s, [this] { return !pluggedIn_; });
}

void PtyInstrument::send(std::string bytes) {
  {
    std::lock_guard lock(mutex_);
    unasked_ += bytes;
  }
  wake();
}

void PtyInstrument::takeUnasked() {
  std::lock_guard lock(mutex_);
  if (master_ >= 0) output_ += unasked_;
  unasked_.clear();
}

void PtyInstrument::wake() {
  const std::uint64_t one = 1;
  [[maybe_unused]] const auto written = ::write(wakeFd_, &one, sizeof one);
}

void PtyInstrument::run() {
  while (!stop_) {
    const auto now = Clock::now();
    if (master_ >= 0 && !hangUpAt_ && unit_.unplugged() && output_.empty())
      hangUpAt_ = now + HangUpDelay;
    if (master_ >= 0 && (unplugRequested_ || (hangUpAt_ && now >= *hangUpAt_))) closeMaster();
    const bool lineUp = master_ >= 0 && now >= idleUntil_;
    const bool sendNow = !output_.empty() && now >= nextSend_;
    pollfd fds[2] = {{wakeFd_, POLLIN, 0},
                     {lineUp ? master_ : -1,
                      static_cast<short>(POLLIN | (sendNow ? POLLOUT : 0)), 0}};
    if (::poll(fds, 2, pollTimeoutMs(now)) < 0 && errno != EINTR) break;
    if (fds[0].revents & POLLIN) {
      std::uint64_t count = 0;
      [[maybe_unused]] const auto drained = ::read(wakeFd_, &count, sizeof count);
      takeUnasked();
    }
    if (fds[1].revents & POLLIN)
      readFromHost();
    else if (fds[1].revents & (POLLHUP | POLLERR))
      lineDown(Clock::now());
    if (master_ >= 0 && (fds[1].revents & POLLOUT)) writeToHost();
  }
}

int PtyInstrument::pollTimeoutMs(Clock::time_point now) const {
  if (master_ < 0) return -1;
  auto wait = Clock::duration::max();
  if (now < idleUntil_) wait = idleUntil_ - now;
  if (!output_.empty() && now < nextSend_) wait = std::min(wait, nextSend_ - now);
  if (hangUpAt_) wait = std::min(wait, std::max(*hangUpAt_ - now, Clock::duration::zero()));
  if (wait == Clock::duration::max()) return -1;
  return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(wait).count());
}

void PtyInstrument::readFromHost() {
  char buffer[4096];
  const auto count = ::read(master_, buffer, sizeof buffer);
  if (count > 0) {
    bytesFromHost_ += static_cast<std::size_t>(count);
    output_ += unit_.received(std::string_view(buffer, static_cast<std::size_t>(count)));
  } else if (count == 0 || (errno != EAGAIN && errno != EINTR)) {
    lineDown(Clock::now());  // EIO: the host has closed the port
  }
}

void PtyInstrument::writeToHost() {
  auto chunk = output_.size();
  if (options_.bytesPerSecond > 0)
    chunk = std::min(chunk, static_cast<std::size_t>(std::max(1, options_.bytesPerSecond / 100)));
  const bool pauseAhead = options_.pauseAfterBytes > 0 && !paused_;
  if (pauseAhead) chunk = std::min(chunk, options_.pauseAfterBytes - bytesToHost_);
  const auto count = ::write(master_, output_.data(), chunk);
  if (count < 0) {
    if (errno != EAGAIN && errno != EINTR) lineDown(Clock::now());
    return;
  }
  output_.erase(0, static_cast<std::size_t>(count));
  bytesToHost_ += static_cast<std::size_t>(count);
  if (pauseAhead && bytesToHost_ >= options_.pauseAfterBytes) {
    paused_ = true;
    nextSend_ = Clock::now() + options_.pauseFor;
    return;
  }
  if (options_.bytesPerSecond > 0) {
    const auto now = Clock::now();
    nextSend_ = std::max(nextSend_, now) +
                std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
                    static_cast<double>(count) / options_.bytesPerSecond));
  }
}

// Nobody has the slave open: answers go nowhere, as on a line without a
// listener.
void PtyInstrument::lineDown(Clock::time_point now) {
  output_.clear();
  idleUntil_ = now + NoSlaveRetry;
}

// Marked unplugged before the close, so that whoever sees the hang-up also
// sees pluggedIn() false.
void PtyInstrument::closeMaster() {
  std::lock_guard lock(mutex_);
  pluggedIn_ = false;
  if (master_ >= 0) {
    ::close(master_);
    master_ = -1;
  }
  closed_.notify_all();
}

}  // namespace quorvanta::sim
