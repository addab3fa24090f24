#include "devices/port/PtyPair.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <thread>

namespace quorvanta::test {

namespace {

using Clock = std::chrono::steady_clock;

int millisecondsUntil(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return static_cast<int>(std::max<long long>(left.count(), 0));
}

}  // namespace

PtyPair::PtyPair() {
  termios raw{};
  ::cfmakeraw(&raw);
  ::cfsetispeed(&raw, B9600);
  ::cfsetospeed(&raw, B9600);
  char name[128] = {};
  if (::openpty(&master_, &slave_, name, &raw, nullptr) != 0) {
    throw std::runtime_error("openpty failed");
  }
  ::tcsetattr(master_, TCSANOW, &raw);
  ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
  slavePath_ = name;
}

PtyPair::~PtyPair() {
  closeMaster();
  ::close(slave_);
}

termios PtyPair::slaveAttributes() const {
  termios attributes{};
  if (::tcgetattr(slave_, &attributes) != 0) throw std::runtime_error("tcgetattr failed");
  return attributes;
}

bool PtyPair::send(std::string_view bytes) {
  const Clock::time_point deadline = Clock::now() + std::chrono::seconds(1);
  while (!bytes.empty()) {
    const ssize_t written = ::write(master_, bytes.data(), bytes.size());
    if (written > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(written));
      continue;
    }
    if (written < 0 && errno != EAGAIN && errno != EINTR) return false;
    pollfd out{master_, POLLOUT, 0};
    if (::poll(&out, 1, millisecondsUntil(deadline)) <= 0) return false;
  }
  return true;
}

std::string PtyPair::receive(std::size_t count, std::chrono::milliseconds within) {
  const Clock::time_point deadline = Clock::now() + within;
  std::string received;
  while (received.size() < count) {
    char block[4096];
    const ssize_t got = ::read(master_, block, sizeof block);
    if (got > 0) {
      received.append(block, static_cast<std::size_t>(got));
      continue;
    }
    if (got < 0 && errno != EAGAIN && errno != EINTR) break;
    pollfd in{master_, POLLIN, 0};
    if (::poll(&in, 1, millisecondsUntil(deadline)) <= 0) break;
  }
  return received;
}

void PtyPair::closeMaster() {
  if (master_ < 0) return;
  ::close(master_);
  master_ = -1;
}

bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds within) {
  const Clock::time_point deadline = Clock::now() + within;
  while (!condition()) {
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace quorvanta::test
