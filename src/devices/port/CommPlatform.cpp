#include "devices/port/CommPlatform.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

#include <linux/serial.h>

#include <cerrno>
#include <cstdint>
#include <thread>

namespace quorvanta::platform {

namespace {

bool speedCode(int bitsPerSecond, speed_t& code) {
  struct Rate {
    int bitsPerSecond;
    speed_t code;
  };
  static constexpr Rate rates[] = {
      {50, B50},       {75, B75},         {110, B110},       {134, B134},       {150, B150},
      {200, B200},     {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
      {2400, B2400},   {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
      {57600, B57600}, {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600}};
  for (const Rate& rate : rates) {
    if (rate.bitsPerSecond == bitsPerSecond) {
      code = rate.code;
      return true;
    }
  }
  return false;
}

bool characterFormat(const LineSettings& settings, termios& attributes) {
  static constexpr tcflag_t sizes[] = {0, CS5, CS6, CS7, CS8};
  if (settings.databits == db4 || settings.databits > db8) return false;
  attributes.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB);
  attributes.c_cflag |= sizes[settings.databits];
  switch (settings.parity) {
    case paNone: break;
    case paOdd: attributes.c_cflag |= PARENB | PARODD; break;
    case paEven: attributes.c_cflag |= PARENB; break;
    case paMark: attributes.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case paSpace: attributes.c_cflag |= PARENB | CMSPAR; break;
    default: return false;
  }
  if (settings.stopbits != sb1) attributes.c_cflag |= CSTOPB;
  if (settings.parityCheck) {
    attributes.c_iflag |= INPCK;
  } else {
    attributes.c_iflag &= ~INPCK;
  }
  return true;
}

void flowControl(const TVaFlowControl& flow, const TVaEventChars& chars, termios& attributes) {
  attributes.c_cflag &= ~CRTSCTS;
  if (flow.OutCtsFlow || flow.ControlRts == rtsHandshake) attributes.c_cflag |= CRTSCTS;
  attributes.c_iflag &= ~(IXON | IXOFF | IXANY);
  if (flow.XonXoffOut) attributes.c_iflag |= IXON;
  if (flow.XonXoffIn) attributes.c_iflag |= IXOFF;
  attributes.c_cc[VSTART] = static_cast<cc_t>(chars.XonChar);
  attributes.c_cc[VSTOP] = static_cast<cc_t>(chars.XoffChar);
}

// Drivers without modem lines (pseudo-terminals) refuse these; that is fine.
void modemLines(int fd, const TVaFlowControl& flow) {
  int dtr = TIOCM_DTR;
  int rts = TIOCM_RTS;
  ::ioctl(fd, flow.ControlDtr == dtrDisabled ? TIOCMBIC : TIOCMBIS, &dtr);
  if (flow.ControlRts != rtsHandshake) {
    ::ioctl(fd, flow.ControlRts == rtsDisabled ? TIOCMBIC : TIOCMBIS, &rts);
  }
}

}  // namespace

int openExclusive(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  // TIOCEXCL does not stop a privileged second open; the lock does.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int code = errno == EWOULDBLOCK ? EBUSY : errno;
    ::close(fd);
    errno = code;
    return -1;
  }
  if (::ioctl(fd, TIOCEXCL) != 0) {
    const int code = errno;
    ::close(fd);
    errno = code;
    return -1;
  }
  return fd;
}

void closeDevice(int fd) {
  // The exclusive flag outlives this descriptor while others hold the
  // terminal open; clear it so that the port can be opened again.
  ::ioctl(fd, TIOCNXCL);
  ::close(fd);
}

bool applyLineSettings(int fd, const LineSettings& settings) {
  termios attributes{};
  if (::tcgetattr(fd, &attributes) != 0) return false;
  ::cfmakeraw(&attributes);
  attributes.c_cflag |= CREAD | CLOCAL;
  // One byte makes a read complete; with the descriptor non-blocking an empty
  // queue then reports EAGAIN and a read of 0 bytes means the device is gone.
  attributes.c_cc[VMIN] = 1;
  attributes.c_cc[VTIME] = 0;
  speed_t speed = B0;
  if (!speedCode(settings.bitsPerSecond, speed) || !characterFormat(settings, attributes)) {
    errno = EINVAL;
    return false;
  }
  flowControl(settings.flow, settings.chars, attributes);
  if (::cfsetispeed(&attributes, speed) != 0 || ::cfsetospeed(&attributes, speed) != 0) {
    return false;
  }
  if (::tcsetattr(fd, TCSANOW, &attributes) != 0) return false;
  modemLines(fd, settings.flow);
  return true;
}

void drainOutput(int fd, std::chrono::steady_clock::time_point deadline) {
  // tcdrain alone would wait for ever on a line held by flow control.
  int pending = 0;
  while (outputCount(fd, pending) && pending > 0) {
    if (std::chrono::steady_clock::now() >= deadline) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ::tcdrain(fd);
}

bool inputCount(int fd, int& count) {
  count = 0;
  return ::ioctl(fd, FIONREAD, &count) == 0;
}

bool outputCount(int fd, int& count) {
  count = 0;
  return ::ioctl(fd, TIOCOUTQ, &count) == 0;
}

LineCounters lineCounters(int fd) {
  LineCounters counters;
  serial_icounter_struct icount{};
  if (::ioctl(fd, TIOCGICOUNT, &icount) != 0) return counters;
  counters.valid = true;
  counters.cts = icount.cts;
  counters.dsr = icount.dsr;
  counters.ring = icount.rng;
  counters.dcd = icount.dcd;
  counters.framing = icount.frame;
  counters.overrun = icount.overrun;
  counters.parity = icount.parity;
  counters.breaks = icount.brk;
  counters.inputOverflow = icount.buf_overrun;
  return counters;
}

int lineErrorFlags(const LineCounters& before, const LineCounters& now) {
  if (!before.valid || !now.valid) return 0;
  int flags = 0;
  if (now.inputOverflow != before.inputOverflow) flags |= lineInputOverflow;
  if (now.overrun != before.overrun) flags |= lineOverrun;
  if (now.parity != before.parity) flags |= lineParity;
  if (now.framing != before.framing) flags |= lineFraming;
  if (now.breaks != before.breaks) flags |= lineBreak;
  return flags;
}

ssize_t readSome(int fd, void* data, std::size_t size) { return ::read(fd, data, size); }

ssize_t writeSome(int fd, const void* data, std::size_t size) { return ::write(fd, data, size); }

bool isWouldBlock(int code) { return code == EAGAIN || code == EWOULDBLOCK || code == EINTR; }

bool isLostDevice(int code) { return code == EIO || code == ENXIO || code == ENODEV; }

bool isHungUp(int fd) {
  pollfd device{fd, 0, 0};
  return ::poll(&device, 1, 0) == 1 && (device.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

int createWakeHandle() { return ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK); }

void signalWake(int handle) {
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = ::write(handle, &one, sizeof one);
}

void closeWakeHandle(int handle) { ::close(handle); }

WaitResult waitForDevice(int fd, DeviceWait what, int wakeHandle, int timeoutMs) {
  const short events = what == DeviceWait::Input    ? POLLIN
                       : what == DeviceWait::Output ? POLLOUT
                                                    : 0;
  pollfd handles[] = {{wakeHandle, POLLIN, 0}, {fd, events, 0}};
  const int ready = ::poll(handles, 2, timeoutMs);
  if (ready < 0) return errno == EINTR ? WaitResult::TimedOut : WaitResult::Failed;
  if (ready == 0) return WaitResult::TimedOut;
  if (handles[0].revents != 0) return WaitResult::Woken;
  if ((handles[1].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) return WaitResult::HungUp;
  return WaitResult::Ready;
}

void applyThreadPriority(TThreadPriority priority) {
  // Nice values; raising above normal needs a privilege and is skipped
  // quietly where the process lacks it.
  static constexpr int niceness[] = {19, 10, 5, 0, -1, -2, -5};
  const int index = static_cast<int>(priority);
  if (index < 0 || index >= static_cast<int>(std::size(niceness))) return;
  ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), niceness[index]);
}

}  // namespace quorvanta::platform
