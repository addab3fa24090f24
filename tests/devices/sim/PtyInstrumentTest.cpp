#include "devices/sim/PtyInstrument.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

#include "devices/sim/GarminScriptWriter.h"
#include "devices/sim/GarminUnit.h"

namespace quorvanta::sim {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Echoes every byte, so that the line itself is what is tested.
class Echo : public InstrumentModel {
 public:
  std::string received(std::string_view bytes) override { return std::string(bytes); }
};

// The program's end of the line, reduced to what the tests need.
class HostPort {
 public:
  explicit HostPort(const std::string& path)
      : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {
    termios attributes{};
    if (fd_ >= 0 && ::tcgetattr(fd_, &attributes) == 0) {
      ::cfmakeraw(&attributes);
      ::tcsetattr(fd_, TCSANOW, &attributes);
    }
  }
  ~HostPort() {
    if (fd_ >= 0) ::close(fd_);
  }
  bool isOpen() const { return fd_ >= 0; }

  void send(const std::string& bytes) {
    ASSERT_EQ(::write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }

  // Reads until `count` bytes have arrived, the line hangs up or two seconds
  // pass.
  std::string receive(std::size_t count) {
    std::string bytes;
    const auto deadline = Clock::now() + 2s;
    while (bytes.size() < count && !hungUp_ && Clock::now() < deadline) {
      pollfd fd{fd_, POLLIN, 0};
      ::poll(&fd, 1, 20);
      char buffer[512];
      const auto n = ::read(fd_, buffer, sizeof buffer);
      if (n > 0)
        bytes.append(buffer, static_cast<std::size_t>(n));
      else if (n == 0 || (errno != EAGAIN && errno != EINTR))
        hungUp_ = true;
    }
    return bytes;
  }

  // True when the line hangs up within two seconds.
  bool seesHangUp() {
    receive(SIZE_MAX);
    return hungUp_;
  }

 private:
  int fd_;
  bool hungUp_ = false;
};

std::string productAnswerStart(const GarminScript& script) {
  return encodeFrame(6, std::string("\xFE\x00", 2)) +
         script.answers.at(Trigger::productRequest()).at(0).wire;
}

TEST(PtyInstrument, CarriesBytesBothWays) {
  Echo echo;
  PtyInstrument instrument(echo);
  HostPort host(instrument.slavePath());
  ASSERT_TRUE(host.isOpen());
  const std::string bytes("\x00\xFF\x10\x03\x11\x13\r\n", 8);  // raw: nothing is interpreted
  host.send(bytes);
  EXPECT_EQ(host.receive(bytes.size()), bytes);
  EXPECT_EQ(instrument.bytesFromHost(), bytes.size());
  const auto deadline = Clock::now() + 1s;  // counted just after the write
  while (instrument.bytesToHost() < bytes.size() && Clock::now() < deadline)
    std::this_thread::sleep_for(1ms);
  EXPECT_EQ(instrument.bytesToHost(), bytes.size());
}

TEST(PtyInstrument, PortCanBeOpenedAgainAfterClosing) {
  Echo echo;
  PtyInstrument instrument(echo);
  for (int round = 0; round < 3; ++round) {
    HostPort host(instrument.slavePath());
    ASSERT_TRUE(host.isOpen());
    host.send("ping");
    EXPECT_EQ(host.receive(4), "ping") << "round " << round;
  }
}

TEST(PtyInstrument, UnplugHangsUpTheHost) {
  Echo echo;
  PtyInstrument instrument(echo);
  HostPort host(instrument.slavePath());
  instrument.unplug();
  EXPECT_FALSE(instrument.pluggedIn());
  EXPECT_TRUE(host.seesHangUp());
}

TEST(PtyInstrument, UnitThatClosesMidTransferHangsUpAfterItsLastByte) {
  const auto script = productScript(TrackFormat::D301);
  GarminUnit unit(script);
  unit.closeAfterBytes(20);
  PtyInstrument instrument(unit);
  HostPort host(instrument.slavePath());
  host.send(encodeFrame(254, ""));
  EXPECT_EQ(host.receive(SIZE_MAX), productAnswerStart(script).substr(0, 20));
  EXPECT_TRUE(host.seesHangUp());
  EXPECT_FALSE(instrument.pluggedIn());
}

TEST(PtyInstrument, PacesItsAnswers) {
  Echo echo;
  PtyInstrument instrument(echo, {2000});
  HostPort host(instrument.slavePath());
  const std::string bytes(400, 'x');
  const auto start = Clock::now();
  host.send(bytes);
  EXPECT_EQ(host.receive(bytes.size()).size(), bytes.size());
  const auto took = Clock::now() - start;
  EXPECT_GE(took, 180ms);
  EXPECT_LT(took, 1500ms);
}

TEST(PtyInstrument, FallsSilentOnceAfterTheChosenByte) {
  Echo echo;
  PtyInstrument instrument(echo, {0, 10, 600ms});
  HostPort host(instrument.slavePath());
  host.send(std::string(30, 'x'));
  EXPECT_EQ(host.receive(10).size(), 10u);
  const auto start = Clock::now();
  EXPECT_EQ(host.receive(20).size(), 20u);
  EXPECT_GE(Clock::now() - start, 500ms);
  host.send("yz");
  EXPECT_EQ(host.receive(2), "yz");
}

TEST(PtyInstrument, SendsWhatTheHostDidNotAskFor) {
  Echo echo;
  PtyInstrument instrument(echo);
  HostPort host(instrument.slavePath());
  host.send("a");
  EXPECT_EQ(host.receive(1), "a");
  instrument.send("dump");
  EXPECT_EQ(host.receive(4), "dump");
}

TEST(PtyInstrument, StopsPromptlyWhileSending) {
  Echo echo;
  const auto start = Clock::now();
  {
    PtyInstrument instrument(echo, {100});
    HostPort host(instrument.slavePath());
    host.send(std::string(1000, 'x'));
    host.receive(3);
  }
  EXPECT_LT(Clock::now() - start, 1s);
}

}  // namespace
}  // namespace quorvanta::sim
