#include "app/GuardedApplication.h"

#include <new>

#include <QMessageBox>

namespace quorvanta {

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::bad_alloc&) {
    QMessageBox::warning(activeWindow(), applicationName(), OutOfMemoryText);
    return false;
  }
}

}  // namespace quorvanta
