#include "devices/port/TVaComm.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <span>

#include "devices/port/CommThreads.h"
#include "devices/port/PortLink.h"
#include "devices/port/PortNames.h"

namespace quorvanta {

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* OnlyWhileClosed = "Can't perform this operation while port is open";

std::string defaultDevicePath(const std::string& name) {
  const std::string_view digits =
      std::string_view(name).substr(std::min<std::size_t>(3, name.size()));
  const bool numbered = name.starts_with("COM") && !digits.empty() && digits.size() <= 6 &&
                        std::all_of(digits.begin(), digits.end(),
                                    [](char c) { return c >= '0' && c <= '9'; });
  if (!numbered) return name;
  const std::string path = defaultSerialDevicePath(std::stoi(std::string(digits)));
  return path.empty() ? name : path;
}

Clock::time_point after(int milliseconds) {
  return Clock::now() + std::chrono::milliseconds(std::max(milliseconds, 0));
}

std::size_t removeNulls(unsigned char* bytes, std::size_t count) {
  return static_cast<std::size_t>(std::remove(bytes, bytes + count, 0) - bytes);
}

}  // namespace

TVaComm::TVaComm(CommDispatcher& dispatcher)
    : dispatcher_(dispatcher), resolvePath_(defaultDevicePath) {}

TVaComm::~TVaComm() {
  destroying_ = true;
  Close();
}

void TVaComm::requireClosed() const {
  if (IsOpen()) throw EVaCommError(OnlyWhileClosed);
}

bool TVaComm::usable() const { return IsOpen() && !link_->lost(); }

void TVaComm::setPortNum(int portNum) {
  requireClosed();
  portNum_ = std::max(portNum, 0);
}

void TVaComm::setDeviceName(std::string deviceName) {
  requireClosed();
  deviceName_ = std::move(deviceName);
}

// A setting the device refuses is not kept: the properties go on describing
// the line as it is.
void TVaComm::changeLineSettings(const std::function<void(Line&)>& change) {
  const Line previous = line_;
  change(line_);
  try {
    reapplyLineSettings();
  } catch (...) {
    line_ = previous;
    throw;
  }
}

template <typename Value>
void TVaComm::changeLineSetting(Value Line::*setting, const Value& value) {
  if (line_.*setting == value) return;
  changeLineSettings([&](Line& line) { line.*setting = value; });
}

void TVaComm::setBaudrate(TVaBaudrate baudrate) {
  if (baudrate == line_.baudrate) return;
  changeLineSettings([&](Line& line) {
    line.baudrate = baudrate;
    if (baudrate != brUser) line.userBaudrate = 0;
  });
}

void TVaComm::setUserBaudrate(int bitsPerSecond) {
  if (bitsPerSecond == line_.userBaudrate) return;
  changeLineSettings([&](Line& line) {
    line.userBaudrate = bitsPerSecond;
    line.baudrate = brUser;
  });
}

void TVaComm::setParity(TVaParity parity) { changeLineSetting(&Line::parity, parity); }
void TVaComm::setDatabits(TVaDatabits databits) { changeLineSetting(&Line::databits, databits); }
void TVaComm::setStopbits(TVaStopbits stopbits) { changeLineSetting(&Line::stopbits, stopbits); }

void TVaComm::setParityCheck(bool parityCheck) {
  changeLineSetting(&Line::parityCheck, parityCheck);
}

void TVaComm::setFlowControl(const TVaFlowControl& flowControl) {
  changeLineSetting(&Line::flowControl, flowControl);
}

void TVaComm::setEventChars(const TVaEventChars& eventChars) {
  changeLineSetting(&Line::eventChars, eventChars);
}

void TVaComm::setOptions(TVaCommOptions options) { changeLineSetting(&Line::options, options); }

void TVaComm::setMonitorEvents(TVaCommEvents events) {
  requireClosed();
  monitorEvents_ = events;
}

void TVaComm::setBuffers(const TVaBuffers& buffers) {
  // The time-outs may change at any time; they count from the next use.
  if (buffers.ReadSize != buffers_.ReadSize || buffers.WriteSize != buffers_.WriteSize) {
    requireClosed();
  }
  buffers_ = buffers;
}

void TVaComm::setDirectWrite(bool directWrite) {
  requireClosed();
  directWrite_ = directWrite;
}

void TVaComm::setUpdateDCB(bool updateDcb) {
  requireClosed();
  updateDcb_ = updateDcb;
}

void TVaComm::setEventPriority(TThreadPriority priority) {
  eventPriority_ = priority;
  if (link_) link_->eventPriority = priority;
}

void TVaComm::setWritePriority(TThreadPriority priority) {
  writePriority_ = priority;
  if (link_) link_->writePriority = priority;
}

void TVaComm::setDevicePathResolver(
    std::function<std::string(const std::string& name)> resolver) {
  resolvePath_ = resolver ? std::move(resolver) : defaultDevicePath;
}

std::string TVaComm::devicePath() const {
  return resolvePath_(fillPattern(deviceName_, portNum_));
}

void TVaComm::Open() {
  requireClosed();
  const std::string path = devicePath();
  const int fd = platform::openExclusive(path);
  if (fd < 0) {
    throw EVaCommError("Unable to open specified device " + path + " " +
                       commErrorMessage("(%d), %s", errno));
  }
  fd_ = fd;
  try {
    if (updateDcb_) writeLineSettings();
    errorBaseline_ = platform::lineCounters(fd_);
    startThreads();
  } catch (...) {
    stopThreads();
    platform::closeDevice(fd_);
    fd_ = -1;
    throw;
  }
  if (auto handler = OnOpen) handler();
}

void TVaComm::Close() {
  if (!IsOpen()) return;
  stopThreads();
  platform::closeDevice(fd_);
  fd_ = -1;
  if (destroying_) return;
  if (auto handler = OnClose) handler();
}

void TVaComm::startThreads() {
  const int wakeHandle = platform::createWakeHandle();
  if (wakeHandle < 0) {
    throw EVaCommError(commErrorMessage(" Error setting EventMask (%d), %s", errno));
  }
  const auto writeSize = static_cast<std::size_t>(std::max(buffers_.WriteSize, 1));
  link_ = std::make_shared<PortLink>(dispatcher_, fd_, wakeHandle, monitorEvents_, writeSize);
  link_->eventPriority = eventPriority_;
  link_->writePriority = writePriority_;
  const PortLink* link = link_.get();
  link_->onEvents = [this, link](TVaCommEvents events) { dispatchEvents(*link, events); };
  link_->onLost = [this](const std::string& reason) {
    if (auto handler = OnLost) handler(reason);
  };
  // The event thread runs whatever is monitored: it also reports the loss.
  eventThread_ = std::thread(runEventThread, link_);
  if (!directWrite_) writeThread_ = std::thread(runWriteThread, link_);
}

// Tells the threads to stop and never waits on a handler: a thread whose
// hand-over is running further up this call stack is left to end by itself,
// which it does as soon as that handler returns. The others are released
// from their waits by the stop and are joined, so that none touches the
// device or the dispatcher afterwards.
void TVaComm::stopThreads() {
  if (!link_) return;
  {
    std::lock_guard lock(receiveLock_);
    link_->stop();
  }
  finishThread(eventThread_);
  finishThread(writeThread_);
  link_.reset();
}

void TVaComm::finishThread(std::thread& thread) {
  if (!thread.joinable()) return;
  if (link_->isDelivering(thread.get_id())) {
    thread.detach();
  } else {
    thread.join();
  }
}

int TVaComm::WriteBuffer(const void* data, int count) {
  if (!usable() || data == nullptr || count <= 0) return 0;
  const auto* bytes = static_cast<const unsigned char*>(data);
  if (directWrite_) return writeDirect(bytes, count);
  const std::span<const unsigned char> block(bytes, static_cast<std::size_t>(count));
  switch (link_->transmitQueue().append(block, after(buffers_.WriteTimeout))) {
    case TransmitQueue::Append::Queued: return count;
    case TransmitQueue::Append::Closed: return 0;
    case TransmitQueue::Append::Full: break;
  }
  throw EVaCommError("Output buffer is full. Please check comm status.");
}

int TVaComm::writeDirect(const unsigned char* bytes, int count) {
  std::lock_guard lock(transmitLock_);
  const Clock::time_point deadline = after(buffers_.ReadTimeout);
  int done = 0;
  while (done < count) {
    const ssize_t written =
        platform::writeSome(fd_, bytes + done, static_cast<std::size_t>(count - done));
    if (written > 0) {
      done += static_cast<int>(written);
      continue;
    }
    const int code = written == 0 ? EAGAIN : errno;
    if (platform::isLostDevice(code)) {
      link_->markLost(errorText(code));
      break;
    }
    if (!platform::isWouldBlock(code)) {
      if (done == 0) throw EVaCommError(commErrorMessage("Write error (%d), %s", code));
      break;
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) break;
    const auto result = platform::waitForDevice(fd_, platform::DeviceWait::Output,
                                                link_->wakeHandle(), static_cast<int>(left));
    if (result == platform::WaitResult::HungUp) link_->markLost(errorText(EIO));
    if (result == platform::WaitResult::HungUp || result == platform::WaitResult::Woken) break;
  }
  return done;
}

bool TVaComm::WriteText(std::string_view text) {
  return WriteBuffer(text.data(), static_cast<int>(text.size())) == static_cast<int>(text.size());
}

int TVaComm::ReadBuffer(void* data, int count) {
  std::lock_guard lock(receiveLock_);
  if (!usable() || data == nullptr || count <= 0) return 0;
  auto* bytes = static_cast<unsigned char*>(data);
  const ssize_t got = platform::readSome(fd_, bytes, static_cast<std::size_t>(count));
  if (got > 0) {
    ++link_->reads;
    const auto size = static_cast<std::size_t>(got);
    return static_cast<int>(line_.options.contains(coNullStrip) ? removeNulls(bytes, size) : size);
  }
  const int code = got == 0 ? EIO : errno;
  if (got < 0 && platform::isWouldBlock(code)) return 0;
  if (got == 0 && !platform::isHungUp(fd_)) return 0;
  if (platform::isLostDevice(code)) {
    link_->markLost(errorText(code));
    return 0;
  }
  throw EVaCommError(commErrorMessage("Read error (%d), %s", code));
}

std::string TVaComm::ReadText() {
  const int waiting = InputCount();
  if (waiting < 1) return {};
  std::string text(static_cast<std::size_t>(waiting), '\0');
  text.resize(static_cast<std::size_t>(ReadBuffer(text.data(), waiting)));
  return text;
}

int TVaComm::InputCount() {
  std::lock_guard lock(receiveLock_);
  int count = 0;
  if (!usable()) return 0;
  if (!platform::inputCount(fd_, count) && platform::isLostDevice(errno)) {
    link_->markLost(errorText(errno));
  }
  return std::max(count, 0);
}

TVaCommStatus TVaComm::ReadStatus() {
  std::lock_guard lock(receiveLock_);
  TVaCommStatus status;
  if (!usable()) return status;
  if (!platform::inputCount(fd_, status.InQueue) || !platform::outputCount(fd_, status.OutQueue)) {
    const int code = errno;
    if (!platform::isLostDevice(code)) {
      throw EVaCommError(commErrorMessage("Error retrieving statistics (%d), %s", code));
    }
    link_->markLost(errorText(code));
    return {};
  }
  const platform::LineCounters now = platform::lineCounters(fd_);
  status.Errors = platform::lineErrorFlags(errorBaseline_, now);
  errorBaseline_ = now;
  return status;
}

void TVaComm::reapplyLineSettings() {
  if (!usable() || !updateDcb_) return;
  // Bytes on their way go out at the old speed first; a line held by flow
  // control delays the change by WriteTimeout at most.
  const Clock::time_point deadline = after(buffers_.WriteTimeout);
  link_->transmitQueue().waitUntilEmpty(deadline);
  platform::drainOutput(fd_, deadline);
  writeLineSettings();
}

void TVaComm::writeLineSettings() {
  platform::LineSettings settings;
  settings.bitsPerSecond =
      line_.baudrate == brUser ? line_.userBaudrate : baudrateBitsPerSecond(line_.baudrate);
  settings.databits = line_.databits;
  settings.parity = line_.parity;
  settings.parityCheck = line_.parityCheck;
  settings.stopbits = line_.stopbits;
  settings.flow = line_.flowControl;
  settings.chars = line_.eventChars;
  if (!platform::applyLineSettings(fd_, settings)) {
    throw EVaCommError(commErrorMessage("Error writing dcb (%d), %s", errno));
  }
}

// Runs on the user-interface thread. A handler may close or even destroy the
// port: after each one, nothing of the port is touched once the link has
// been stopped.
void TVaComm::dispatchEvents(const PortLink& link, TVaCommEvents events) {
  if (events.contains(ceRxChar)) {
    const int count = InputCount();
    if (auto handler = OnRxChar; handler && count > 0) handler(count);
    if (link.stopped()) return;
  }
  if (events.contains(ceError)) {
    const int errors = ReadStatus().Errors;
    if (auto handler = OnError; handler && errors != 0) handler(errors);
    if (link.stopped()) return;
  }
  using Notification = std::function<void()> TVaComm::*;
  static constexpr std::pair<TVaCommEvent, Notification> notifications[] = {
      {ceRxFlag, &TVaComm::OnRxFlag},     {ceCts, &TVaComm::OnCts},
      {ceDsr, &TVaComm::OnDsr},           {ceRing, &TVaComm::OnRing},
      {ceRlsd, &TVaComm::OnRlsd},         {ceTxEmpty, &TVaComm::OnTxEmpty},
      {ceBreak, &TVaComm::OnBreak},       {cePErr, &TVaComm::OnPErr},
      {ceRx80Full, &TVaComm::OnRx80Full}, {ceEvent1, &TVaComm::OnEvent1},
      {ceEvent2, &TVaComm::OnEvent2}};
  for (const auto& [event, member] : notifications) {
    if (!events.contains(event)) continue;
    if (auto handler = this->*member) handler();
    if (link.stopped()) return;
  }
}

void setLine8N1(TVaComm& port, const TVaFlowControl& flowControl) {
  port.setDatabits(db8);
  port.setParity(paNone);
  port.setStopbits(sb1);
  port.setFlowControl(flowControl);
}

}  // namespace quorvanta
