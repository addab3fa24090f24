#pragma once

#include <array>

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

#include "app/UserDialogs.h"
#include "flight/IgcHeader.h"
#include "flight/SettingsStore.h"

namespace quorvanta {

// "weitere Angaben zum IGC-File": the header details a downloaded flight
// needs and the instrument does not know. Checks every field as it changes
// and offers the save button only when all of them are plausible. A fresh
// dialog per use; the caller reads saveConfirmed() and values() afterwards.
class IgcHeaderDialog : public QDialog {
  Q_OBJECT

 public:
  // `fromFlightRecorder`: the instrument's file already names pilot and
  // glider, so those three fields are neither shown nor stored.
  IgcHeaderDialog(SettingsStore& settings, UserDialogs& dialogs, bool fromFlightRecorder,
                  QWidget* parent = nullptr);

  bool saveConfirmed() const { return saveConfirmed_; }
  const IgcHeaderValues& values() const { return values_; }
  const HeaderFieldChecks& checks() const { return checks_; }
  int classPosition() const { return classPosition_; }

  // Edit1 .. Edit8 and their labels, numbered as in the table of fields.
  QLineEdit* field(int number) const { return fields_.at(static_cast<std::size_t>(number - 1)); }
  QLabel* fieldLabel(int number) const { return labels_.at(static_cast<std::size_t>(number - 1)); }

 private:
  void buildControls();
  void loadFields();
  void stepClass(int step);
  void checkFields();
  void colourChecks();
  void confirm();
  void saveConfiguration();
  void browse();

  SettingsStore& settings_;
  UserDialogs& dialogs_;
  const bool fromFlightRecorder_;
  bool saveConfirmed_ = false;
  bool fieldsLoaded_ = false;
  int classPosition_ = 1;
  IgcHeaderValues values_;
  HeaderFieldChecks checks_;

  std::array<QLineEdit*, 8> fields_{};
  std::array<QLabel*, 8> labels_{};
  QToolButton* classUp_ = nullptr;
  QToolButton* classDown_ = nullptr;
  QPlainTextEdit* idHint_ = nullptr;      // Memo1
  QPlainTextEdit* saveHint_ = nullptr;    // Memo2
  QPlainTextEdit* recorderHint_ = nullptr;  // Memo3
  QPushButton* save_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* saveConfiguration_ = nullptr;
  QPushButton* browse_ = nullptr;
};

}  // namespace quorvanta
