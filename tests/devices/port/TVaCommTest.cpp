#include "devices/port/TVaComm.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "devices/port/EventLoop.h"
#include "devices/port/PtyPair.h"

namespace quorvanta {
namespace {

using namespace std::chrono_literals;
using test::eventually;
using test::PtyPair;
using Clock = std::chrono::steady_clock;

std::string messageOf(const std::function<void()>& operation) {
  try {
    operation();
  } catch (const EVaCommError& error) {
    return error.what();
  }
  return "(no error)";
}

class TVaCommTest : public ::testing::Test {
 protected:
  TVaCommTest() : port(loop) { port.setDeviceName(pty.slavePath()); }

  PtyPair pty;
  EventLoop loop;
  TVaComm port;
};

TEST_F(TVaCommTest, PortNumberMakesTheDevicePath) {
  TVaComm fresh(loop);
  fresh.setPortNum(7);
  EXPECT_EQ(fresh.devicePath(), "/dev/ttyS6");
  fresh.setDeviceName("/dev/ttyUSB%d");
  EXPECT_EQ(fresh.devicePath(), "/dev/ttyUSB7");
  fresh.setDeviceName("/tmp/100%%-%s%n");
  EXPECT_EQ(fresh.devicePath(), "/tmp/100%-%s%n");
  fresh.setDeviceName("COM%d");
  fresh.setDevicePathResolver([](const std::string& name) { return "/dev/by-name/" + name; });
  EXPECT_EQ(fresh.devicePath(), "/dev/by-name/COM7");
}

TEST_F(TVaCommTest, OpeningAMissingDeviceNamesItsPathAndLeavesThePortClosed) {
  TVaComm missing(loop);
  missing.setPortNum(7);
  missing.setDevicePathResolver([](const std::string& name) { return "/nonexistent/" + name; });
  EXPECT_EQ(messageOf([&] { missing.Open(); }),
            "Unable to open specified device /nonexistent/COM7 (2), No such file or directory");
  EXPECT_FALSE(missing.IsOpen());
}

TEST_F(TVaCommTest, SecondOpenOfTheDeviceFailsAndTheFirstStaysOpen) {
  port.Open();
  TVaComm second(loop);
  second.setDeviceName(pty.slavePath());
  EXPECT_EQ(messageOf([&] { second.Open(); }),
            "Unable to open specified device " + pty.slavePath() +
                " (16), Device or resource busy");
  EXPECT_FALSE(second.IsOpen());
  EXPECT_EQ(messageOf([&] { port.Open(); }), "Can't perform this operation while port is open");
  ASSERT_TRUE(port.IsOpen());
  EXPECT_TRUE(port.WriteText("still here"));
  EXPECT_EQ(pty.receive(10, 2s), "still here");
}

TEST_F(TVaCommTest, ClosedPortCanBeOpenedAgain) {
  int opened = 0, closed = 0;
  port.OnOpen = [&] { ++opened; };
  port.OnClose = [&] { ++closed; };
  port.Open();
  port.Close();
  port.Close();
  port.Open();
  EXPECT_TRUE(port.IsOpen());
  EXPECT_EQ(opened, 2);
  EXPECT_EQ(closed, 1);
}

TEST_F(TVaCommTest, SettingsForAClosedPortRaiseWhileOpen) {
  port.Open();
  const std::string whileOpen = "Can't perform this operation while port is open";
  EXPECT_EQ(messageOf([&] { port.setPortNum(2); }), whileOpen);
  EXPECT_EQ(messageOf([&] { port.setDeviceName("COM%d"); }), whileOpen);
  EXPECT_EQ(messageOf([&] { port.setMonitorEvents({ceRxChar}); }), whileOpen);
  EXPECT_EQ(messageOf([&] { port.setDirectWrite(true); }), whileOpen);
  EXPECT_EQ(messageOf([&] { port.setUpdateDCB(false); }), whileOpen);
  TVaBuffers buffers = port.Buffers();
  buffers.WriteSize = 100;
  EXPECT_EQ(messageOf([&] { port.setBuffers(buffers); }), whileOpen);
  buffers = port.Buffers();
  buffers.WriteTimeout = 50;
  port.setBuffers(buffers);
  EXPECT_EQ(port.Buffers().WriteTimeout, 50);
  EXPECT_EQ(port.PortNum(), 0);
  EXPECT_EQ(port.DeviceName(), pty.slavePath());
  port.Close();
  port.setPortNum(2);
  EXPECT_EQ(port.PortNum(), 2);
}

// A pseudo-terminal keeps eight data bits without parity whatever it is
// told, so only the other settings can be seen here.
TEST_F(TVaCommTest, OpenAppliesRawLineSettings) {
  port.setBaudrate(br4800);
  port.setStopbits(sb2);
  port.Open();
  const termios line = pty.slaveAttributes();
  EXPECT_EQ(cfgetospeed(&line), speed_t{B4800});
  EXPECT_NE(line.c_cflag & CSTOPB, 0u);
  EXPECT_EQ(line.c_iflag & (IXON | IXOFF | ICRNL | ISTRIP), 0u);
  EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ISIG), 0u);
  EXPECT_EQ(line.c_oflag & OPOST, 0u);
}

TEST_F(TVaCommTest, BaudrateChangesAtOnceOnAnOpenPortAndKeepsTheOtherSettings) {
  port.setBaudrate(br9600);
  TVaFlowControl flow;
  flow.XonXoffIn = true;
  port.setFlowControl(flow);
  port.Open();
  ASSERT_TRUE(port.WriteText("at 9600"));
  const termios before = pty.slaveAttributes();
  port.setBaudrate(br57600);
  EXPECT_EQ(pty.receive(7, 2s), "at 9600");
  const termios after = pty.slaveAttributes();
  EXPECT_EQ(cfgetospeed(&before), speed_t{B9600});
  EXPECT_EQ(cfgetospeed(&after), speed_t{B57600});
  EXPECT_EQ(cfgetispeed(&after), speed_t{B57600});
  EXPECT_EQ(after.c_cflag & ~CBAUD, before.c_cflag & ~CBAUD);
  EXPECT_EQ(after.c_iflag, before.c_iflag);
  EXPECT_NE(after.c_iflag & IXOFF, 0u);
  EXPECT_EQ(after.c_lflag, before.c_lflag);
  EXPECT_EQ(after.c_oflag, before.c_oflag);
  EXPECT_EQ(port.UserBaudrate(), 0);

  port.setUserBaudrate(115200);
  EXPECT_EQ(port.Baudrate(), brUser);
  const termios user = pty.slaveAttributes();
  EXPECT_EQ(cfgetospeed(&user), speed_t{B115200});
}

TEST_F(TVaCommTest, SettingTheDeviceCannotTakeIsRefusedAndNotKept) {
  port.setBaudrate(br9600);
  port.Open();
  EXPECT_EQ(messageOf([&] { port.setUserBaudrate(12345); }),
            "Error writing dcb (22), Invalid argument");
  EXPECT_TRUE(port.IsOpen());
  EXPECT_EQ(port.Baudrate(), br9600);
  EXPECT_EQ(port.UserBaudrate(), 0);
  EXPECT_EQ(messageOf([&] { port.setDatabits(db4); }), "Error writing dcb (22), Invalid argument");
  EXPECT_EQ(port.Databits(), db8);
  TVaComm fourBits(loop);
  fourBits.setDeviceName(pty.slavePath());
  fourBits.setDatabits(db4);
  port.Close();
  EXPECT_EQ(messageOf([&] { fourBits.Open(); }), "Error writing dcb (22), Invalid argument");
  EXPECT_FALSE(fourBits.IsOpen());
  port.Open();  // the failed open left the device free
}

TEST_F(TVaCommTest, WriteLargerThanTheQueueRaisesAfterTheWriteTimeout) {
  TVaBuffers buffers;
  buffers.WriteSize = 64;
  buffers.WriteTimeout = 200;
  port.setBuffers(buffers);
  port.Open();
  const std::string tooLong(65, 'x');
  const auto start = Clock::now();
  EXPECT_EQ(messageOf([&] { port.WriteText(tooLong); }),
            "Output buffer is full. Please check comm status.");
  const auto waited = Clock::now() - start;
  EXPECT_GE(waited, 190ms);
  EXPECT_LT(waited, 2s);
  EXPECT_TRUE(port.WriteText(std::string(64, 'y')));
  EXPECT_EQ(pty.receive(64, 2s), std::string(64, 'y'));
}

// A pseudo-terminal reports no line errors.
TEST_F(TVaCommTest, ReadTextReturnsEveryByteValueAndThenNothing) {
  port.Open();
  const std::string sent("\x00\xff\x00" "A\x10\x03", 6);
  ASSERT_TRUE(pty.send(sent));
  ASSERT_TRUE(eventually([&] { return port.InputCount() == 6; }, 2s));
  const TVaCommStatus status = port.ReadStatus();
  EXPECT_EQ(status.Errors, 0);
  EXPECT_EQ(status.InQueue, 6);
  EXPECT_EQ(port.ReadText(), sent);
  EXPECT_EQ(port.InputCount(), 0);
  EXPECT_EQ(port.ReadText(), "");
  char buffer[8];
  EXPECT_EQ(port.ReadBuffer(buffer, sizeof buffer), 0);
  EXPECT_TRUE(port.IsOpen());
}

TEST_F(TVaCommTest, NullStripDropsReceivedNulBytes) {
  port.setOptions({coNullStrip});
  port.Open();
  ASSERT_TRUE(pty.send(std::string("a\0b\0", 4)));
  ASSERT_TRUE(eventually([&] { return port.InputCount() == 4; }, 2s));
  EXPECT_EQ(port.ReadText(), "ab");
}

TEST_F(TVaCommTest, ClosedPortSendsAndReceivesNothing) {
  EXPECT_FALSE(port.WriteText("lost"));
  EXPECT_EQ(port.WriteBuffer("x", 1), 0);
  EXPECT_EQ(port.ReadText(), "");
  EXPECT_EQ(port.InputCount(), 0);
  const TVaCommStatus status = port.ReadStatus();
  EXPECT_EQ(status.Errors + status.InQueue + status.OutQueue, 0);
  port.Open();
  EXPECT_EQ(pty.receive(1, 50ms), "");
}

TEST_F(TVaCommTest, DirectWriteSendsFromTheCallersThread) {
  port.setDirectWrite(true);
  port.Open();
  EXPECT_TRUE(port.WriteText("direct"));
  EXPECT_EQ(pty.receive(6, 2s), "direct");
}

TEST_F(TVaCommTest, QueuedWritesArriveInOrder) {
  // Without OnTxEmpty: no loop runs here to take it.
  port.setMonitorEvents({ceRxChar, ceError});
  port.Open();
  std::string expected;
  for (int i = 0; i < 200; ++i) {
    const std::string line = "line " + std::to_string(i) + "\r\n";
    ASSERT_TRUE(port.WriteText(line));
    expected += line;
  }
  EXPECT_EQ(pty.receive(expected.size(), 3s), expected);
}

}  // namespace
}  // namespace quorvanta
