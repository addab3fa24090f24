#include <QApplication>
#include <QLocale>

#include "app/MainWindow.h"
#include "app/UserDialogs.h"
#include "flight/NumberText.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("Quorvanta");
  const QString separator = QLocale().decimalPoint();
  if (!separator.isEmpty()) quorvanta::setDecimalSeparator(separator.at(0).toLatin1());

  quorvanta::QtDialogs dialogs;
  quorvanta::MainWindow window(dialogs);
  window.show();
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1) window.openFromCommandLine(arguments.at(1));
  return QApplication::exec();
}
