#include "app/UserDialogs.h"

#include <QFileDialog>
#include <QMessageBox>

#include "app/IgcHeaderDialog.h"

namespace quorvanta {

namespace {

std::optional<QString> chosen(const QString& name) {
  if (name.isEmpty()) return std::nullopt;
  return name;
}

}  // namespace

std::optional<QString> QtDialogs::openFileName(QWidget* parent, const QString& title,
                                               const QString& start, const QString& filter) {
  return chosen(QFileDialog::getOpenFileName(parent, title, start, filter));
}

std::optional<QString> QtDialogs::saveFileName(QWidget* parent, const QString& title,
                                               const QString& start, const QString& filter) {
  // The overwrite question is the program's own.
  return chosen(QFileDialog::getSaveFileName(parent, title, start, filter, nullptr,
                                             QFileDialog::DontConfirmOverwrite));
}

bool QtDialogs::askYesNo(QWidget* parent, const QString& title, const QString& text) {
  return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No) ==
         QMessageBox::Yes;
}

bool QtDialogs::askOkCancel(QWidget* parent, const QString& title, const QString& text) {
  return QMessageBox::warning(parent, title, text, QMessageBox::Ok | QMessageBox::Cancel) ==
         QMessageBox::Ok;
}

void QtDialogs::inform(QWidget* parent, const QString& title, const QString& text) {
  QMessageBox::information(parent, title, text);
}

void QtDialogs::warn(QWidget* parent, const QString& title, const QString& text) {
  QMessageBox::warning(parent, title, text);
}

std::optional<QString> QtDialogs::existingDirectory(QWidget* parent, const QString& title,
                                                    const QString& start) {
  return chosen(QFileDialog::getExistingDirectory(parent, title, start));
}

std::optional<IgcHeaderValues> QtDialogs::igcHeaderDetails(QWidget* parent,
                                                           SettingsStore& settings,
                                                           bool fromFlightRecorder) {
  IgcHeaderDialog dialog(settings, *this, fromFlightRecorder, parent);
  dialog.exec();
  if (!dialog.saveConfirmed()) return std::nullopt;
  return dialog.values();
}

}  // namespace quorvanta
