#pragma once

#include <QApplication>

namespace quorvanta {

// The desktop program's application object. Every command runs from an
// event, so memory exhaustion in one ends only that command, with a German
// message, and the program goes on.
class GuardedApplication : public QApplication {
 public:
  using QApplication::QApplication;

  bool notify(QObject* receiver, QEvent* event) override;
};

inline constexpr const char* OutOfMemoryText = "Zu wenig Arbeitsspeicher für diesen Befehl.";

}  // namespace quorvanta
