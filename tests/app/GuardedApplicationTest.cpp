#include "app/GuardedApplication.h"

#include <new>

#include <QEvent>
#include <QMessageBox>
#include <QMetaObject>
#include <QTimer>

#include <gtest/gtest.h>

namespace quorvanta {
namespace {

class RunsOutOfMemory : public QObject {
 public:
  bool event(QEvent* event) override {
    if (event->type() == QEvent::User) throw std::bad_alloc();
    return QObject::event(event);
  }
};

// Closes each message box as it comes up and keeps its text.
class MessageCatcher {
 public:
  MessageCatcher() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        texts.push_back(box->text());
        box->close();
      }
    });
    timer_.start(5);
  }
  QStringList texts;

 private:
  QTimer timer_;
};

TEST(GuardedApplication, MemoryExhaustionEndsOnlyTheCommandWithAGermanMessage) {
  ASSERT_NE(dynamic_cast<GuardedApplication*>(QCoreApplication::instance()), nullptr);
  MessageCatcher messages;
  RunsOutOfMemory receiver;
  QEvent event(QEvent::User);
  EXPECT_FALSE(QCoreApplication::sendEvent(&receiver, &event));

  bool laterCommandRan = false;
  QMetaObject::invokeMethod(&receiver, [] { throw std::bad_alloc(); }, Qt::QueuedConnection);
  QMetaObject::invokeMethod(&receiver, [&] { laterCommandRan = true; }, Qt::QueuedConnection);
  QCoreApplication::processEvents();
  EXPECT_TRUE(laterCommandRan);
  EXPECT_EQ(messages.texts, QStringList(2, OutOfMemoryText));
}

}  // namespace
}  // namespace quorvanta
