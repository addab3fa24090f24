#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "devices/port/EventLoop.h"
#include "devices/port/PtyPair.h"
#include "devices/port/TVaComm.h"

namespace quorvanta {
namespace {

using namespace std::chrono_literals;
using test::PtyPair;
using Clock = EventLoop::Clock;

// Plays an instrument that keeps talking until stopped.
class Chatter {
 public:
  explicit Chatter(PtyPair& pty) : thread_([this, &pty] {
    while (!stop_ && pty.send("0123456789abcdef\x10\x03")) std::this_thread::sleep_for(1ms);
  }) {}
  ~Chatter() {
    stop_ = true;
    thread_.join();
  }

 private:
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

class TVaCommEventsTest : public ::testing::Test {
 protected:
  TVaCommEventsTest() : port(std::make_unique<TVaComm>(loop)) {
    port->setDeviceName(pty.slavePath());
  }

  bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds within = 2s) {
    return loop.runUntil(done, Clock::now() + within);
  }
  void runFor(std::chrono::milliseconds span) {
    loop.runUntil([] { return false; }, Clock::now() + span);
  }

  PtyPair pty;
  EventLoop loop;
  std::unique_ptr<TVaComm> port;
};

TEST_F(TVaCommEventsTest, ReceivedBytesReachTheHandlerOnTheLoopThread) {
  std::string received;
  std::thread::id handlerThread;
  int lastCount = 0;
  port->OnRxChar = [&](int count) {
    handlerThread = std::this_thread::get_id();
    lastCount = count;
    received += port->ReadText();
  };
  port->Open();
  ASSERT_TRUE(pty.send(std::string("\x10\x00\xff", 3)));
  ASSERT_TRUE(runUntil([&] { return received.size() == 3; }));
  EXPECT_EQ(received, std::string("\x10\x00\xff", 3));
  EXPECT_EQ(handlerThread, std::this_thread::get_id());
  EXPECT_GT(lastCount, 0);
}

TEST_F(TVaCommEventsTest, BytesLeftUnreadAreNotReportedAgainUntilMoreArrive) {
  std::vector<int> counts;
  port->OnRxChar = [&](int count) { counts.push_back(count); };
  port->Open();
  ASSERT_TRUE(pty.send("abc"));
  ASSERT_TRUE(runUntil([&] { return !counts.empty(); }));
  runFor(150ms);
  EXPECT_EQ(counts, std::vector<int>{3});
  ASSERT_TRUE(pty.send("de"));
  ASSERT_TRUE(runUntil([&] { return counts.size() == 2; }));
  EXPECT_EQ(counts.back(), 5);
}

// A burst larger than the line's buffer: bytes that arrive while the handler
// reads are new, even when the count of waiting bytes has not grown.
TEST_F(TVaCommEventsTest, AnUnpacedBurstArrivesWhole) {
  std::string received;
  port->OnRxChar = [&](int) { received += port->ReadText(); };
  port->Open();
  std::string burst;
  for (int k = 0; burst.size() < 65536; ++k) burst += std::to_string(k) + "\r\n";
  std::thread sender([&] { EXPECT_TRUE(pty.send(burst)); });
  const bool whole = runUntil([&] { return received.size() >= burst.size(); }, 5s);
  sender.join();
  ASSERT_TRUE(whole) << received.size() << " of " << burst.size() << " bytes";
  EXPECT_EQ(received, burst);
}

TEST_F(TVaCommEventsTest, NoHandlerCallWhenTheBytesWereAlreadyRead) {
  int calls = 0;
  port->OnRxChar = [&](int) { ++calls; };
  port->Open();
  ASSERT_TRUE(pty.send("xyz"));
  ASSERT_TRUE(test::eventually([&] { return port->InputCount() == 3; }, 2s));
  EXPECT_EQ(port->ReadText(), "xyz");
  runFor(100ms);
  EXPECT_EQ(calls, 0);
}

TEST_F(TVaCommEventsTest, WriteThreadReportsTheEmptyQueueOnTheLoopThreadWhenMonitored) {
  int empties = 0;
  std::thread::id handlerThread;
  port->OnTxEmpty = [&] {
    ++empties;
    handlerThread = std::this_thread::get_id();
  };
  for (const bool monitored : {true, false}) {
    SCOPED_TRACE(monitored);
    empties = 0;
    if (!monitored) port->setMonitorEvents({ceRxChar});
    port->Open();
    ASSERT_TRUE(port->WriteText("PING"));
    if (monitored) {
      ASSERT_TRUE(runUntil([&] { return empties > 0; }));
    }
    EXPECT_EQ(pty.receive(4, 2s), "PING");
    runFor(50ms);
    EXPECT_EQ(empties, monitored ? 1 : 0);
    port->Close();
  }
  EXPECT_EQ(handlerThread, std::this_thread::get_id());
}

TEST_F(TVaCommEventsTest, CloseWithoutARunningLoopDoesNotWaitForIt) {
  port->OnRxChar = [&](int) { port->ReadText(); };
  port->Open();
  ASSERT_TRUE(port->WriteText("out"));
  ASSERT_TRUE(pty.send("in"));
  std::this_thread::sleep_for(30ms);  // both threads now wait for the loop
  const auto start = Clock::now();
  port->Close();
  port.reset();
  EXPECT_LT(Clock::now() - start, 1s);
}

TEST_F(TVaCommEventsTest, CloseFromTheReceiveHandlerWhileBytesKeepComing) {
  for (int round = 0; round < 25; ++round) {
    PtyPair line;
    TVaComm comm(loop);
    comm.setDeviceName(line.slavePath());
    int closed = 0, calls = 0;
    comm.OnClose = [&] { ++closed; };
    comm.OnRxChar = [&](int) {
      ++calls;
      comm.ReadText();
      comm.Close();
    };
    comm.Open();
    Chatter chatter(line);
    ASSERT_TRUE(runUntil([&] { return closed == 1; }));
    runFor(5ms);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(comm.IsOpen());
  }
}

TEST_F(TVaCommEventsTest, DestroyFromTheReceiveHandler) {
  for (int round = 0; round < 25; ++round) {
    PtyPair line;
    auto comm = std::make_unique<TVaComm>(loop);
    comm->setDeviceName(line.slavePath());
    comm->OnRxChar = [&](int) {
      comm->ReadText();
      comm->WriteText("ack");
      comm.reset();
    };
    comm->Open();
    Chatter chatter(line);
    ASSERT_TRUE(runUntil([&] { return comm == nullptr; }));
    runFor(2ms);
  }
}

TEST_F(TVaCommEventsTest, CloseAndDestroyFromOutsideWithEventsInFlight) {
  for (int round = 0; round < 30; ++round) {
    PtyPair line;
    auto comm = std::make_unique<TVaComm>(loop);
    comm->setDeviceName(line.slavePath());
    std::size_t received = 0;
    comm->OnRxChar = [&](int) {
      received += comm->ReadText().size();
      comm->WriteText("ack");
    };
    comm->OnTxEmpty = [] {};
    comm->Open();
    Chatter chatter(line);
    runUntil([&] { return received > 0; });
    runFor(std::chrono::milliseconds(round % 4));
    if (round % 2 == 0) comm->Close();
    comm.reset();
    runFor(1ms);
  }
}

TEST_F(TVaCommEventsTest, CloseFromATimerWhileTheThreadsWaitForTheLoop) {
  for (int round = 0; round < 20; ++round) {
    PtyPair line;
    TVaComm comm(loop);
    comm.setDeviceName(line.slavePath());
    comm.OnRxChar = [&](int) { comm.ReadText(); };
    comm.Open();
    Chatter chatter(line);
    bool closed = false;
    loop.startTimer(std::chrono::milliseconds(round % 5), [&] {
      comm.WriteText("bye");
      comm.Close();
      closed = true;
    });
    ASSERT_TRUE(runUntil([&] { return closed; }));
  }
}

TEST_F(TVaCommEventsTest, OtherSideClosingIsReportedAsLostAtOnce) {
  std::vector<std::string> reasons;
  std::thread::id handlerThread;
  std::size_t received = 0;
  port->OnRxChar = [&](int) { received += port->ReadText().size(); };
  port->OnLost = [&](const std::string& reason) {
    reasons.push_back(reason);
    handlerThread = std::this_thread::get_id();
  };
  port->Open();
  {
    Chatter chatter(pty);
    ASSERT_TRUE(runUntil([&] { return received > 100; }));
  }
  const auto start = Clock::now();
  pty.closeMaster();
  ASSERT_TRUE(runUntil([&] { return !reasons.empty(); }));
  EXPECT_LT(Clock::now() - start, 500ms);
  runFor(50ms);
  EXPECT_EQ(reasons, std::vector<std::string>{"Input/output error"});
  EXPECT_EQ(handlerThread, std::this_thread::get_id());
  EXPECT_TRUE(port->IsOpen());
  EXPECT_FALSE(port->WriteText("anyone?"));
  EXPECT_EQ(port->ReadText(), "");
  int closed = 0;
  port->OnClose = [&] { ++closed; };
  port->Close();
  EXPECT_EQ(closed, 1);
}

TEST_F(TVaCommEventsTest, LossIsReportedWhateverIsMonitored) {
  bool lost = false;
  port->setMonitorEvents({});
  port->OnLost = [&](const std::string&) { lost = true; };
  port->Open();
  pty.closeMaster();
  EXPECT_TRUE(runUntil([&] { return lost; }));
}

TEST_F(TVaCommEventsTest, ClosingFromTheLostHandlerWorks) {
  port->OnLost = [&](const std::string&) { port->Close(); };
  port->Open();
  pty.closeMaster();
  EXPECT_TRUE(runUntil([&] { return !port->IsOpen(); }));
  port->setDeviceName(pty.slavePath());
}

}  // namespace
}  // namespace quorvanta
