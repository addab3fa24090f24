#include <QLocale>
#include <QMetaObject>

#include "app/GuardedApplication.h"
#include "app/InterfaceFont.h"
#include "app/MainWindow.h"
#include "app/QtGermanTexts.h"
#include "app/UserDialogs.h"
#include "flight/NumberText.h"

int main(int argc, char** argv) {
  quorvanta::GuardedApplication application(argc, argv);
  QApplication::setApplicationName("Quorvanta");
  quorvanta::useInterfaceFont();
  const quorvanta::QtGermanTexts germanQtTexts;
  const QString separator = QLocale().decimalPoint();
  if (!separator.isEmpty()) quorvanta::setDecimalSeparator(separator.at(0).toLatin1());

  quorvanta::QtDialogs dialogs;
  quorvanta::MainWindow window(dialogs);
  window.show();
  const QStringList arguments = QApplication::arguments();
  // Queued, so that opening the file runs under the application's guard.
  if (arguments.size() > 1) {
    QMetaObject::invokeMethod(
        &window, [&window, &arguments] { window.openFromCommandLine(arguments.at(1)); },
        Qt::QueuedConnection);
  }
  return QApplication::exec();
}
