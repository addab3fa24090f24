#include "app/SendrakelSettingsWindow.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "app/QtText.h"
#include "devices/port/PortNames.h"
#include "devices/sendrakel/SendrakelDownload.h"
#include "flight/ApplicationTitle.h"

namespace quorvanta {

namespace {

const char* const Note =
    "Pilotenname, Glidertyp und GliderID müssen vor dem Flug im Sendrakel gespeichert sein. "
    "Änderungen gelten erst für einen folgenden Track.";

QLineEdit* edit(QWidget* parent, const char* name, const std::string& text) {
  auto* field = new QLineEdit(qt(text), parent);
  field->setObjectName(name);
  field->setMaxLength(16);
  return field;
}

QSpinBox* spin(QWidget* parent, const char* name, int low, int high, int value) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(name);
  box->setRange(low, high);
  box->setValue(value);
  return box;
}

}  // namespace

SendrakelSettingsWindow::SendrakelSettingsWindow(SettingsStore& settings, UserDialogs& dialogs,
                                                 int portNumber, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      dialogs_(dialogs),
      port_(dispatcher_),
      driver_(session_, port_, *this) {
  setObjectName("FormSetSRK");
  setWindowTitle(
      QString("Sendrakel Einstellungen vornehmen für %1").arg(qt(std::string(ApplicationTitle))));
  sendrakel::configurePort(port_);
  port_.setDevicePathResolver(
      [this](const std::string&) { return serialDevicePath(settings_, port_.PortNum()); });
  port_.setPortNum(portNumber);
  port_.OnRxChar = [this, received = port_.OnRxChar](int count) {
    received(count);
    render();
  };
  port_.OnLost = [this, lost = port_.OnLost](const std::string& reason) {
    lost(reason);
    render();
  };
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, [this] {
    driver_.timerFired(sendrakel::SendrakelSettingsSession::AnswerTimer);
    render();
  });
  buildControls();
  render();
}

SendrakelSettingsWindow::~SendrakelSettingsWindow() { driver_.run(session_.close()); }

void SendrakelSettingsWindow::startTimer(int, int milliseconds) { timer_.start(milliseconds); }

void SendrakelSettingsWindow::stopTimer(int) { timer_.stop(); }

void SendrakelSettingsWindow::buildControls() {
  const sendrakel::LoggerSettings stored = sendrakel::readLoggerSettings(settings_);
  pilot_ = edit(this, "Edit1", stored.pilot);
  gliderType_ = edit(this, "Edit2", stored.gliderType);
  gliderId_ = edit(this, "Edit3", stored.gliderId);
  reserve_ = edit(this, "Edit4", stored.reserve);
  reserve_->hide();
  interval_ = spin(this, "SpinEdit1", 1, 60, stored.interval);
  powerDown_ = spin(this, "SpinEdit2", 3, 255, stored.powerDown);
  lcd_ = new QCheckBox(
      "LCD-Display am Logger aktivieren (bitte nicht unnötig einschalten, insbesondere wenn gar "
      "kein Display vorhanden)",
      this);
  lcd_->setObjectName("CheckBox1");
  lcd_->setChecked(stored.lcd);
  send_ = new QPushButton("=> Sendrakel", this);
  send_->setObjectName("ButtonSend");
  ok_ = new QPushButton("Beenden", this);
  ok_->setObjectName("ButtonOK");
  bytes_ = new QLabel(this);
  answer_ = new QLabel(this);
  answer_->setObjectName("Label11");
  auto* note = new QPlainTextEdit(Note, this);
  note->setObjectName("Memo1");
  note->setReadOnly(true);
  note->setMaximumHeight(60);

  auto* form = new QFormLayout;
  form->addRow("Pilot:", pilot_);
  form->addRow("Glidertype:", gliderType_);
  form->addRow("GliderID:", gliderId_);
  form->addRow("MinIntervall:", interval_);
  form->addRow("PowerDown", powerDown_);
  auto* powerNote = new QLabel(
      "Die effektive Zeit ergibt sich aus diesem Wert * 30 sec, Beispiel:  Wert 20 entspricht ca. "
      "10 min",
      this);
  powerNote->setWordWrap(true);
  form->addRow(powerNote);
  form->addRow(lcd_);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(send_);
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  auto* page = new QVBoxLayout(this);
  page->addWidget(note);
  page->addLayout(form);
  page->addWidget(bytes_);
  page->addWidget(answer_);
  page->addLayout(buttons);

  for (QLineEdit* field : {pilot_, gliderType_, gliderId_, reserve_}) {
    connect(field, &QLineEdit::textEdited, this, [this] { session_.clearAnswerLabel(); render(); });
  }
  for (QSpinBox* box : {interval_, powerDown_}) {
    connect(box, &QSpinBox::valueChanged, this, [this] { session_.clearAnswerLabel(); render(); });
  }
  connect(send_, &QPushButton::clicked, this, &SendrakelSettingsWindow::send);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
}

void SendrakelSettingsWindow::send() {
  if (lcd_->isChecked() &&
      !dialogs_.askYesNo(this, windowTitle(),
                         "Bitte nochmals prüfen, ob der LCD wirklich aktiviert werden soll. Nicht "
                         "vorhandene LCD auch nicht aktivieren!")) {
    lcd_->setChecked(false);
  }
  sendrakel::LoggerSettings values;
  values.pilot = pilot_->text().toStdString();
  values.gliderType = gliderType_->text().toStdString();
  values.gliderId = gliderId_->text().toStdString();
  values.reserve = reserve_->text().toStdString();
  values.interval = interval_->value();
  values.powerDown = powerDown_->value();
  values.lcd = lcd_->isChecked();
  sendrakel::saveLoggerSettings(settings_, values);
  run(session_.send(values));
}

void SendrakelSettingsWindow::run(SessionCommands commands) {
  driver_.run(std::move(commands));
  render();
}

void SendrakelSettingsWindow::render() {
  bytes_->setText(qt(session_.bytesLabel()));
  answer_->setText(qt(session_.answerLabel()));
  std::string& message = session_.message();
  if (!message.empty()) dialogs_.warn(this, windowTitle(), qt(std::exchange(message, {})));
}

void SendrakelSettingsWindow::done(int result) {
  run(session_.close());
  QDialog::done(result);
}

}  // namespace quorvanta
