#include "app/IqWindow.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/ComPortChooser.h"
#include "app/QtText.h"
#include "app/SessionWindowEvents.h"
#include "devices/iq/IqPort.h"
#include "devices/port/PortNames.h"
#include "flight/ApplicationTitle.h"

namespace quorvanta {

namespace {

constexpr const char* Section = "BrVario";

const char* const UncheckQuestion =
    "Bitte nochmals prüfen, ob die Überprüfung der übertragenen Daten auf Plausibliltät wirklich "
    "deaktiviert werden soll. Risiko!!!. Bitte selbst die Daten im Fenster nach Auswertung prüfen!";

QPlainTextEdit* courierMemo(QWidget* parent, const char* name) {
  auto* memo = new QPlainTextEdit(parent);
  memo->setObjectName(name);
  memo->setReadOnly(true);
  memo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  return memo;
}

void showText(QPlainTextEdit* memo, const std::string& text) {
  const QString wanted = qt(text);
  if (memo->toPlainText() != wanted) memo->setPlainText(wanted);
}

QString lookSheet(iq::IqView::Look look) {
  switch (look) {
    case iq::IqView::Look::Bold: return "font-weight: bold;";
    case iq::IqView::Look::Red: return "color: red;";
    case iq::IqView::Look::Plain: break;
  }
  return {};
}

}  // namespace

IqWindow::IqWindow(BarographBuffer& buffer, SettingsStore& settings, UserDialogs& dialogs,
                   QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      dialogs_(dialogs),
      port_(dispatcher_),
      session_(buffer),
      host_(*this, settings, dialogs, TranscriptChoice{}, {}),
      driver_(session_, port_, host_) {
  setObjectName("FormBrVario");
  setWindowTitle(qt("Bräuniger Vario IQ-Serie auslesen für " + std::string(ApplicationTitle)));
  iq::configurePort(port_);
  connectSessionEvents(port_, settings_, host_, driver_, [this] { render(); });
  port_.setPortNum(storedComPort(settings_, Section));
  buildControls();
  connectControls();
  run(session_.openPort());
}

IqWindow::~IqWindow() = default;

void IqWindow::buildControls() {
  summary_ = courierMemo(this, "Memo1");
  table_ = courierMemo(this, "Memo2");
  bytesLabel_ = new QLabel(this);
  bytesLabel_->setObjectName("Label1");
  checkLabel_ = new QLabel(this);
  checkLabel_->setObjectName("Label3");
  checkLabel_->setWordWrap(true);
  dataCheck_ = new QCheckBox("Daten prüfen", this);
  dataCheck_->setObjectName("CheckBox1");
  evaluate_ = new QPushButton("Auswerten", this);
  evaluate_->setObjectName("Auswertung");
  evaluate_->hide();
  exit_ = new QPushButton("Exit", this);
  exit_->setObjectName("Button1");
  portChooser_ = comPortChooser(this, port_.PortNum());

  auto* memos = new QHBoxLayout;
  memos->addWidget(summary_, 1);
  memos->addWidget(table_, 1);
  auto* controls = new QHBoxLayout;
  controls->addWidget(bytesLabel_);
  controls->addStretch(1);
  controls->addWidget(dataCheck_);
  controls->addWidget(evaluate_);
  controls->addWidget(portChooser_);
  controls->addWidget(exit_);
  auto* page = new QVBoxLayout(this);
  page->addLayout(memos, 1);
  page->addWidget(checkLabel_);
  page->addLayout(controls);
  resize(820, 520);
}

void IqWindow::connectControls() {
  connect(portChooser_, &QComboBox::activated, this, &IqWindow::choosePort);
  connect(dataCheck_, &QCheckBox::toggled, this, &IqWindow::dataCheckToggled);
  connect(evaluate_, &QPushButton::clicked, this, [this] { run(session_.evaluate()); });
  connect(exit_, &QPushButton::clicked, this, &QDialog::accept);
}

void IqWindow::run(SessionCommands commands) {
  driver_.run(std::move(commands));
  render();
}

void IqWindow::render() {
  const iq::IqView& view = session_.view();
  bytesLabel_->setText(qt(view.bytesLabel));
  showText(summary_, view.summary);
  showText(table_, view.table);
  checkLabel_->setText(qt(view.checkLabel));
  checkLabel_->setStyleSheet(lookSheet(view.checkLook));
  evaluate_->setEnabled(view.evaluateEnabled);
  dataCheck_->setVisible(view.checkBoxVisible);
  {
    const QSignalBlocker quiet(dataCheck_);
    dataCheck_->setChecked(view.dataChecked);
  }
  std::string& message = session_.view().message;
  if (!message.empty()) dialogs_.warn(this, windowTitle(), qt(std::exchange(message, {})));
}

// Close, choose, store, open again: a failed transfer can be repeated.
void IqWindow::choosePort(int index) {
  if (index < 0 || index >= ComPorts) return;
  port_.Close();
  port_.setPortNum(index + 1);
  storeComPort(settings_, Section, port_.PortNum());
  run(session_.reopenPort());
}

// Taking the check away needs a second thought; No leaves it on.
void IqWindow::dataCheckToggled(bool checked) {
  if (!checked && !dialogs_.askYesNo(this, windowTitle(), UncheckQuestion)) checked = true;
  session_.setDataCheck(checked);
  render();
}

}  // namespace quorvanta
