#pragma once

#include <optional>

#include <QString>

#include "flight/IgcHeader.h"
#include "flight/SettingsStore.h"

class QWidget;

namespace quorvanta {

// Every file dialog, question and message of the main window goes through
// here, so that tests can answer them.
class UserDialogs {
 public:
  virtual ~UserDialogs() = default;

  // The chosen file, or nothing when the user cancelled.
  virtual std::optional<QString> openFileName(QWidget* parent, const QString& title,
                                              const QString& start, const QString& filter) = 0;
  virtual std::optional<QString> saveFileName(QWidget* parent, const QString& title,
                                              const QString& start, const QString& filter) = 0;
  virtual bool askYesNo(QWidget* parent, const QString& title, const QString& text) = 0;
  virtual bool askOkCancel(QWidget* parent, const QString& title, const QString& text) = 0;
  virtual void inform(QWidget* parent, const QString& title, const QString& text) = 0;
  virtual void warn(QWidget* parent, const QString& title, const QString& text) = 0;
  // The chosen directory, or nothing when the user cancelled.
  virtual std::optional<QString> existingDirectory(QWidget* parent, const QString& title,
                                                   const QString& start) = 0;
  // The IGC header details of a downloaded flight, confirmed for saving, or
  // nothing when the user left without saving.
  virtual std::optional<IgcHeaderValues> igcHeaderDetails(QWidget* parent, SettingsStore& settings,
                                                          bool fromFlightRecorder) = 0;
};

// The platform's dialogs and message boxes.
class QtDialogs : public UserDialogs {
 public:
  std::optional<QString> openFileName(QWidget* parent, const QString& title, const QString& start,
                                      const QString& filter) override;
  std::optional<QString> saveFileName(QWidget* parent, const QString& title, const QString& start,
                                      const QString& filter) override;
  bool askYesNo(QWidget* parent, const QString& title, const QString& text) override;
  bool askOkCancel(QWidget* parent, const QString& title, const QString& text) override;
  void inform(QWidget* parent, const QString& title, const QString& text) override;
  void warn(QWidget* parent, const QString& title, const QString& text) override;
  std::optional<QString> existingDirectory(QWidget* parent, const QString& title,
                                           const QString& start) override;
  std::optional<IgcHeaderValues> igcHeaderDetails(QWidget* parent, SettingsStore& settings,
                                                  bool fromFlightRecorder) override;
};

}  // namespace quorvanta
