#include "app/QtCommDispatcher.h"

#include <chrono>
#include <thread>

#include <QCoreApplication>
#include <QThread>

#include <gtest/gtest.h>

#include "app/DownloadWindowFixture.h"

namespace quorvanta {
namespace {

using namespace std::chrono_literals;
using test::processUntil;

TEST(QtCommDispatcherTest, RunsThePortThreadsCallOnTheGuiThreadAndWaitsForIt) {
  QtCommDispatcher dispatcher;
  std::atomic<bool> abandoned{false}, returned{false};
  QThread* ranOn = nullptr;
  std::thread port([&] {
    dispatcher.runAndWait([&] { ranOn = QThread::currentThread(); }, abandoned);
    returned = true;
  });
  EXPECT_TRUE(processUntil([&] { return returned.load(); }));
  port.join();
  EXPECT_EQ(ranOn, QThread::currentThread());
}

TEST(QtCommDispatcherTest, CallFromTheGuiThreadRunsAtOnce) {
  QtCommDispatcher dispatcher;
  const std::atomic<bool> abandoned{false};
  bool ran = false;
  dispatcher.runAndWait([&] { ran = true; }, abandoned);
  EXPECT_TRUE(ran);
}

TEST(QtCommDispatcherTest, AbandonedCallReturnsWithoutRunning) {
  QtCommDispatcher dispatcher;
  std::atomic<bool> abandoned{false}, returned{false};
  std::atomic<bool> ran{false};
  std::thread port([&] {
    dispatcher.runAndWait([&] { ran = true; }, abandoned);
    returned = true;
  });
  std::this_thread::sleep_for(20ms);  // queued, the GUI thread busy elsewhere
  abandoned = true;
  port.join();  // returns within a wait slice, no event processing needed
  EXPECT_TRUE(returned);
  QCoreApplication::processEvents();
  EXPECT_FALSE(ran);
}

TEST(QtCommDispatcherTest, DestroyedDispatcherReleasesTheWaiterAndDropsTheCall) {
  auto dispatcher = std::make_unique<QtCommDispatcher>();
  std::atomic<bool> abandoned{false}, entered{false};
  std::atomic<bool> ran{false};
  std::thread port([&] {
    entered = true;
    dispatcher->runAndWait([&] { ran = true; }, abandoned);
  });
  while (!entered) std::this_thread::sleep_for(1ms);
  std::this_thread::sleep_for(20ms);
  dispatcher.reset();
  port.join();
  QCoreApplication::processEvents();
  EXPECT_FALSE(ran);
}

// The handler closes the port from a modal loop while the port thread waits
// for it: the port thread must come free although the handler has not ended.
TEST(QtCommDispatcherTest, PortClosedInsideTheRunningHandlerFreesTheWaiter) {
  QtCommDispatcher dispatcher;
  std::atomic<bool> abandoned{false}, returned{false};
  bool freedWhileRunning = false;
  std::thread port([&] {
    dispatcher.runAndWait(
        [&] {
          abandoned = true;
          freedWhileRunning = processUntil([&] { return returned.load(); });
        },
        abandoned);
    returned = true;
  });
  EXPECT_TRUE(processUntil([&] { return returned.load(); }));
  port.join();
  EXPECT_TRUE(freedWhileRunning);
}

}  // namespace
}  // namespace quorvanta
