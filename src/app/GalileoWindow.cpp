#include "app/GalileoWindow.h"

#include <QButtonGroup>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/ComPortChooser.h"
#include "app/DownloadHandOver.h"
#include "app/QtText.h"
#include "app/SessionWindowEvents.h"
#include "devices/port/PortNames.h"
#include "flight/ApplicationTitle.h"
#include "flight/DayCount.h"

namespace quorvanta {

namespace {

constexpr const char* Section = "Galileo";
constexpr int GalileoPorts = 4;

}  // namespace

GalileoWindow::GalileoWindow(FlightRecord& record, SettingsStore& settings, UserDialogs& dialogs,
                             QWidget* parent)
    : QDialog(parent),
      record_(record),
      settings_(settings),
      dialogs_(dialogs),
      clock_(localNow),
      port_(dispatcher_),
      host_(*this, settings, dialogs,
            {Section, "Filename Galileo", "Filename für Log-File Galileo", "Galileolog.txt",
             "Textdatei (*.txt)"},
            {}),
      driver_(session_, port_, host_) {
  setObjectName("Galileo");
  setWindowTitle(qt("Bräuniger Galileo auslesen für " + std::string(ApplicationTitle)));
  record_.DownloadDone = false;
  galileo::configurePort(port_);
  connectSessionEvents(port_, settings_, host_, driver_, [this] { render(); });
  const int stored = storedComPort(settings_, Section);
  port_.setPortNum(stored <= GalileoPorts ? stored : 1);
  port_.OnError = [this](int errors) {
    session_.lineErrors(errors);
    render();
  };
  buildControls();
  connectControls();
  render();
}

GalileoWindow::~GalileoWindow() { port_.OnError = nullptr; }

void GalileoWindow::buildControls() {
  auto* portLayout = new QHBoxLayout;
  for (int k = 0; k < GalileoPorts; ++k) {
    ports_[static_cast<std::size_t>(k)] = new QRadioButton(QString("COM %1").arg(k + 1), this);
    ports_[static_cast<std::size_t>(k)]->setObjectName(QString("RadioButton%1").arg(k + 1));
    portLayout->addWidget(ports_[static_cast<std::size_t>(k)]);
  }
  ports_[static_cast<std::size_t>(port_.PortNum() - 1)]->setChecked(true);
  const std::array<std::pair<const char*, const char*>, 4> commands = {{
      {"ButtonSN", "S-Nr. auslesen"},
      {"ButtonStart", "Track auslesen"},
      {"ButtonWPTs", "WPTs auslesen"},
      {"ButtonRoutes", "Routes auslesen"},
  }};
  for (std::size_t k = 0; k < commands.size(); ++k) {
    commands_[k] = new QPushButton(commands[k].second, this);
    commands_[k]->setObjectName(commands[k].first);
  }
  save_ = new QPushButton("igc-File speichern", this);
  save_->setObjectName("ButtonAuswertung");
  quit_ = new QPushButton("Beenden", this);
  quit_->setObjectName("OKButton");
  showRx_ = new QCheckBox("ShowRx ", this);
  showRx_->setObjectName("ShowRx");
  status_ = new QLabel(this);
  status_->setObjectName("Label1");
  memo_ = new QPlainTextEdit(this);
  memo_->setObjectName("Memo1");
  memo_->setReadOnly(true);
  memo_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

  auto* buttons = new QVBoxLayout;
  buttons->addLayout(portLayout);
  buttons->addWidget(showRx_);
  for (QPushButton* button : commands_) buttons->addWidget(button);
  buttons->addWidget(save_);
  buttons->addStretch(1);
  buttons->addWidget(quit_);
  auto* shown = new QVBoxLayout;
  shown->addWidget(status_);
  shown->addWidget(memo_, 1);
  auto* page = new QHBoxLayout(this);
  page->addLayout(buttons);
  page->addLayout(shown, 1);
  resize(820, 480);
}

void GalileoWindow::connectControls() {
  for (int k = 0; k < GalileoPorts; ++k) {
    connect(ports_[static_cast<std::size_t>(k)], &QRadioButton::toggled, this,
            [this, k](bool ticked) {
              if (ticked) choosePort(k + 1);
            });
  }
  using Command = SessionCommands (galileo::GalileoSession::*)();
  const std::array<Command, 4> commands = {
      &galileo::GalileoSession::readSerialNumber, &galileo::GalileoSession::readTrack,
      &galileo::GalileoSession::readWaypoints, &galileo::GalileoSession::readRoutes};
  for (std::size_t k = 0; k < commands.size(); ++k) {
    connect(commands_[k], &QPushButton::clicked, this,
            [this, command = commands[k]] { run((session_.*command)()); });
  }
  connect(save_, &QPushButton::clicked, this, &GalileoWindow::saveTrack);
  connect(quit_, &QPushButton::clicked, this, &GalileoWindow::quit);
  connect(showRx_, &QCheckBox::toggled, this, [this](bool shown) { session_.setShowRx(shown); });
}

void GalileoWindow::run(SessionCommands commands) {
  driver_.run(std::move(commands));
  render();
}

void GalileoWindow::render() {
  const galileo::GalileoView& view = session_.view();
  for (QRadioButton* button : ports_) button->setVisible(view.portChoiceVisible);
  showRx_->setVisible(view.showRxVisible);
  for (QPushButton* button : commands_) button->setVisible(view.commandButtonsVisible);
  save_->setVisible(view.saveButtonVisible);
  status_->setText(qt(view.status));
  status_->setStyleSheet(view.statusRed ? "color: red;" : "");
  memo_->setVisible(view.memoVisible);
  const QString memo = qt(view.memo);
  if (memo_->toPlainText() != memo) {
    memo_->setPlainText(memo);
    memo_->moveCursor(QTextCursor::End);
  }
  std::string& message = session_.view().message;
  if (!message.empty()) dialogs_.warn(this, windowTitle(), qt(std::exchange(message, {})));
}

void GalileoWindow::choosePort(int number) {
  driver_.run(session_.changePort());
  port_.setPortNum(number);
  storeComPort(settings_, Section, number);
  render();
}

// "igc-File speichern": a track that cannot be written is refused before the
// header details are asked for; leaving them without saving writes nothing.
void GalileoWindow::saveTrack() {
  if (const auto refused = session_.trackRefusal()) {
    dialogs_.warn(this, windowTitle(), qt(*refused));
    return;
  }
  const auto header = dialogs_.igcHeaderDetails(this, settings_, true);
  if (!header) return;
  handOverDownload(session_.writeFile(*header, clock_()), record_, settings_);
  render();
}

void GalileoWindow::quit() {
  host_.closeTranscript();
  port_.Close();
  accept();
}

}  // namespace quorvanta
