#include "devices/port/EventLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

namespace quorvanta {
namespace {

using namespace std::chrono_literals;
using Clock = EventLoop::Clock;

TEST(EventLoopTest, TimersFireInTheOrderTheyFallDue) {
  EventLoop loop;
  std::string order;
  loop.startTimer(30ms, [&] { order += 'c'; });
  loop.startTimer(10ms, [&] { order += 'a'; });
  loop.startTimer(20ms, [&] { order += 'b'; });
  loop.startTimer(20ms, [&] { order += 'B'; });
  EXPECT_TRUE(loop.runUntil([&] { return order.size() == 4; }, Clock::now() + 2s));
  EXPECT_EQ(order, "abBc");
}

TEST(EventLoopTest, TimerFiresNoEarlierThanAsked) {
  EventLoop loop;
  const auto start = Clock::now();
  Clock::time_point fired;
  loop.startTimer(40ms, [&] { fired = Clock::now(); });
  ASSERT_TRUE(loop.runUntil([&] { return fired != Clock::time_point(); }, start + 2s));
  EXPECT_GE(fired - start, 40ms);
}

TEST(EventLoopTest, StoppedTimerNeverFires) {
  EventLoop loop;
  bool stoppedFired = false, otherFired = false;
  const int stopped = loop.startTimer(10ms, [&] { stoppedFired = true; });
  loop.startTimer(40ms, [&] { otherFired = true; });
  loop.stopTimer(stopped);
  EXPECT_TRUE(loop.runUntil([&] { return otherFired; }, Clock::now() + 2s));
  EXPECT_FALSE(stoppedFired);
}

TEST(EventLoopTest, TimerStartedByATimerRuns) {
  EventLoop loop;
  int fired = 0;
  loop.startTimer(1ms, [&] {
    ++fired;
    loop.startTimer(1ms, [&] { ++fired; });
  });
  EXPECT_TRUE(loop.runUntil([&] { return fired == 2; }, Clock::now() + 2s));
}

TEST(EventLoopTest, RunUntilReportsTheDeadline) {
  EventLoop loop;
  const auto start = Clock::now();
  EXPECT_FALSE(loop.runUntil([] { return false; }, start + 30ms));
  EXPECT_GE(Clock::now() - start, 30ms);
  EXPECT_TRUE(loop.runUntil([] { return true; }, start));
}

TEST(EventLoopTest, HandedOverCallRunsOnTheLoopThreadBeforeTheCallerGoesOn) {
  EventLoop loop;
  const std::atomic<bool> abandoned{false};
  std::atomic<bool> ran{false}, returned{false};
  std::thread::id ranOn;
  std::thread caller([&] {
    loop.runAndWait(
        [&] {
          ranOn = std::this_thread::get_id();
          std::this_thread::sleep_for(20ms);
          ran = true;
        },
        abandoned);
    EXPECT_TRUE(ran);
    returned = true;
  });
  EXPECT_TRUE(loop.runUntil([&] { return ran.load(); }, Clock::now() + 2s));
  caller.join();
  EXPECT_TRUE(returned);
  EXPECT_EQ(ranOn, std::this_thread::get_id());
}

TEST(EventLoopTest, AbandonedReleasesTheCallerAndTheCallNeverRuns) {
  EventLoop loop;
  std::atomic<bool> abandoned{false}, returned{false};
  bool ran = false;
  std::thread caller([&] {
    loop.runAndWait([&] { ran = true; }, abandoned);
    returned = true;
  });
  std::this_thread::sleep_for(30ms);
  EXPECT_FALSE(returned);
  abandoned = true;
  const auto start = Clock::now();
  caller.join();
  EXPECT_LT(Clock::now() - start, 1s);
  loop.runUntil([] { return false; }, Clock::now() + 20ms);
  EXPECT_FALSE(ran);
}

TEST(EventLoopTest, DestroyingTheLoopReleasesTheCaller) {
  auto loop = std::make_unique<EventLoop>();
  const std::atomic<bool> abandoned{false};
  std::atomic<bool> entered{false};
  bool ran = false;
  std::thread caller([&] {
    entered = true;
    loop->runAndWait([&] { ran = true; }, abandoned);
  });
  while (!entered) std::this_thread::yield();
  std::this_thread::sleep_for(100ms);  // into its wait
  const auto start = Clock::now();
  loop.reset();
  caller.join();
  EXPECT_LT(Clock::now() - start, 1s);
  EXPECT_FALSE(ran);
}

TEST(EventLoopTest, HandOverFromTheLoopThreadRunsAtOnce) {
  EventLoop loop;
  const std::atomic<bool> abandoned{false};
  bool ran = false;
  loop.startTimer(1ms, [&] { loop.runAndWait([&] { ran = true; }, abandoned); });
  EXPECT_TRUE(loop.runUntil([&] { return ran; }, Clock::now() + 2s));
}

TEST(EventLoopTest, CallerIsReleasedWhenTheCallThrows) {
  EventLoop loop;
  const std::atomic<bool> abandoned{false};
  std::thread caller(
      [&] { loop.runAndWait([] { throw std::runtime_error("handler"); }, abandoned); });
  EXPECT_THROW(loop.runUntil([] { return false; }, Clock::now() + 2s), std::runtime_error);
  caller.join();
}

}  // namespace
}  // namespace quorvanta
