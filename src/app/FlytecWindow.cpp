#include "app/FlytecWindow.h"

#include <algorithm>

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/ComPortChooser.h"
#include "app/QtText.h"
#include "app/SessionWindowEvents.h"
#include "devices/flytec/FlytecPort.h"
#include "devices/port/PortNames.h"
#include "flight/ApplicationTitle.h"

namespace quorvanta {

namespace {

constexpr const char* Section = "FlytecVario";

}  // namespace

FlytecWindow::FlytecWindow(BarographBuffer& buffer, SettingsStore& settings, UserDialogs& dialogs,
                           QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      dialogs_(dialogs),
      port_(dispatcher_),
      session_(buffer),
      host_(*this, settings, dialogs, TranscriptChoice{}, {}),
      driver_(session_, port_, host_) {
  setObjectName("FormFlytec");
  setWindowTitle(qt("Flytec Vario 40XX auslesen für " + std::string(ApplicationTitle)));
  setWindowFlag(Qt::WindowStaysOnTopHint);
  flytec::configurePort(port_);
  connectSessionEvents(port_, settings_, host_, driver_, [this] { render(); });
  port_.setPortNum(storedComPort(settings_, Section));
  buildControls();
  connectControls();
  render();
}

FlytecWindow::~FlytecWindow() = default;

void FlytecWindow::buildControls() {
  portChooser_ = comPortChooser(this, port_.PortNum());
  read_ = new QPushButton("Barograf auslesen", this);
  read_->setObjectName("Button2");
  flights_ = new QListWidget(this);
  flights_->setObjectName("CheckListBox1");
  flights_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  takeOver_ = new QPushButton("Flug übernehmen", this);
  takeOver_->setObjectName("Button3");
  exit_ = new QPushButton("Exit", this);
  exit_->setObjectName("Button1");
  status_ = new QLabel(this);
  status_->setObjectName("Label1");
  instruction_ = new QLabel(this);
  instruction_->setObjectName("Label3");
  instruction_->setWordWrap(true);
  progress_ = new QProgressBar(this);
  progress_->setObjectName("ProgressBar1");

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(portChooser_);
  buttons->addWidget(read_);
  buttons->addWidget(takeOver_);
  buttons->addStretch(1);
  buttons->addWidget(exit_);
  auto* page = new QVBoxLayout(this);
  page->addWidget(instruction_);
  page->addLayout(buttons);
  page->addWidget(status_);
  page->addWidget(progress_);
  page->addWidget(flights_, 1);
  resize(760, 420);
}

void FlytecWindow::connectControls() {
  connect(portChooser_, &QComboBox::activated, this, &FlytecWindow::choosePort);
  connect(read_, &QPushButton::clicked, this, [this] { run(session_.readBarograph()); });
  connect(flights_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    session_.tickFlight(flights_->row(item));
    render();
  });
  connect(takeOver_, &QPushButton::clicked, this, [this] {
    session_.takeOverFlight();
    render();
  });
  connect(exit_, &QPushButton::clicked, this, &QDialog::accept);
}

void FlytecWindow::run(SessionCommands commands) {
  driver_.run(std::move(commands));
  render();
}

void FlytecWindow::render() {
  const flytec::FlytecView& view = session_.view();
  status_->setText(qt(view.status));
  status_->setStyleSheet(view.statusRed ? "color: red;" : "");
  instruction_->setText(qt(view.instruction));
  read_->setVisible(view.readButtonVisible);
  takeOver_->setVisible(view.takeOverVisible);
  progress_->setVisible(view.progressVisible);
  progress_->setRange(0, std::max(view.progressMaximum, 1));
  progress_->setValue(std::clamp(view.progress, 0, std::max(view.progressMaximum, 1)));
  showFlights(view);
  std::string& message = session_.view().message;
  if (!message.empty()) dialogs_.warn(this, windowTitle(), qt(std::exchange(message, {})));
}

// One line per flight; the ticked one is the session's, whatever was clicked.
void FlytecWindow::showFlights(const flytec::FlytecView& view) {
  const QSignalBlocker quiet(flights_);
  flights_->setVisible(view.flightListVisible);
  if (shownFlights_ != view.flights) {
    flights_->clear();
    for (const std::string& text : view.flights) {
      auto* item = new QListWidgetItem(qt(text), flights_);
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    }
    shownFlights_ = view.flights;
  }
  for (int row = 0; row < flights_->count(); ++row) {
    const bool ticked = view.tickedFlight == row;
    flights_->item(row)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
  }
}

void FlytecWindow::choosePort(int index) {
  if (index < 0 || index >= ComPorts) return;
  driver_.run(session_.changePort());
  port_.setPortNum(index + 1);
  storeComPort(settings_, Section, port_.PortNum());
  render();
}

}  // namespace quorvanta
