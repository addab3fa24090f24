#include "app/GarminWindow.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/ComPortChooser.h"
#include "app/DownloadHandOver.h"
#include "app/QtText.h"
#include "app/SessionWindowEvents.h"
#include "devices/garmin/GarminPort.h"
#include "devices/garmin/GarminScreen.h"
#include "flight/DayCount.h"

namespace quorvanta {

namespace {

const char* const ShortGuide =
    "Kurzanleitung:\n"
    "Am GPS die Schnittstelle auf GARMIN bzw. GRMN/GRMN und HOST bzw. SERVER stellen.\n"
    "COM-Port und Kabel prüfen.\n"
    "Dann <Lies GPS Typ> drücken, danach <Lies Track(s)> und <IGC-File-speichern>.\n";

const char* const ChoiceGuide =
    "Bitte einen oder mehrere Tracks auswählen und <Weiter> drücken. Danach erscheint eine "
    "Liste aller Punkte mit Nummer, Zeit (UTC), Koordinaten und momentaner Geschwindigkeit, "
    "aus der einzelne Punkte abgewählt werden können. <Fertig> schreibt die ausgewählten "
    "Punkte in das IGC-File.";

QPlainTextEdit* memo(QWidget* parent, const char* name, bool fixedFont) {
  auto* text = new QPlainTextEdit(parent);
  text->setObjectName(name);
  text->setReadOnly(true);
  if (fixedFont) {
    text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text->setLineWrapMode(QPlainTextEdit::NoWrap);  // keep the columns of the lines
  }
  return text;
}

void showText(QPlainTextEdit* memo, const std::string& text) {
  const QString wanted = qt(text);
  if (memo->toPlainText() == wanted) return;
  memo->setPlainText(wanted);
  memo->moveCursor(QTextCursor::End);
  memo->ensureCursorVisible();
}

QListWidget* checkList(QWidget* parent, const char* name) {
  auto* list = new QListWidget(parent);
  list->setObjectName(name);
  list->setUniformItemSizes(true);
  list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  return list;
}

// The items and their ticks; the list is rebuilt only when its texts changed.
void showItems(QListWidget* list, std::vector<std::string>& shown,
               const std::vector<std::string>& items, const std::vector<bool>& ticked) {
  const QSignalBlocker quiet(list);
  if (shown != items) {
    list->clear();
    for (const std::string& text : items) {
      auto* item = new QListWidgetItem(qt(text), list);
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
      item->setCheckState(Qt::Unchecked);
    }
    shown = items;
  }
  for (int row = 0; row < list->count(); ++row) {
    const auto at = static_cast<std::size_t>(row);
    const bool tick = at < ticked.size() && ticked[at];
    const Qt::CheckState state = tick ? Qt::Checked : Qt::Unchecked;
    if (list->item(row)->checkState() != state) list->item(row)->setCheckState(state);
  }
}

}  // namespace

GarminWindow::GarminWindow(FlightRecord& record, SettingsStore& settings, UserDialogs& dialogs,
                           QWidget* parent)
    : QDialog(parent),
      record_(record),
      settings_(settings),
      dialogs_(dialogs),
      clock_(localNow),
      port_(dispatcher_),
      host_(*this, settings, dialogs,
            {"GPS", "Filename GPSlog", "Filename für LogFile Garmin GPS", "Garminlog.txt",
             "Textdatei (*.txt *.TXT)"},
            [this] { return garmin::transcriptFirstLine(clock_()); }),
      driver_(session_, port_, host_) {
  setObjectName("FormGPS");
  setWindowTitle("Quorvanta: Garmin GPS Track lesen");
  record_.DownloadDone = false;
  garmin::configurePort(port_);
  connectSessionEvents(port_, settings_, host_, driver_, [this] { render(); });
  port_.setPortNum(storedComPort(settings_, "GPS"));
  garmin::appendDisplay(session_.view(), ShortGuide);
  buildControls();
  connectControls();
  render();
}

GarminWindow::~GarminWindow() = default;

void GarminWindow::buildControls() {
  const std::array<const char*, 7> captions = {"Beenden",         "Lies GPS Typ", "Lies Track(s)",
                                               "Lies Waypoints",  "Lies Datum/Zeit",
                                               "Lies Routen",     "Lies Almamach"};
  for (std::size_t k = 0; k < buttons_.size(); ++k) {
    buttons_[k] = new QPushButton(captions[k], this);
    buttons_[k]->setObjectName(QString("Button%1").arg(k + 1));
  }
  abort_ = new QPushButton("Com Abbruch", this);
  abort_->setObjectName("ButtonComAbbruch");
  save_ = new QPushButton("IGC-File speichern", this);
  save_->setObjectName("Auswertung");
  showRxTx_ = new QCheckBox("Zeige RX TX Fenster", this);
  showRxTx_->setObjectName("ShowRxTx");
  buildPortChooser();

  bufferLabel_ = new QLabel(this);
  bufferLabel_->setObjectName("Label1");
  statusLabel_ = new QLabel(this);
  statusLabel_->setObjectName("Label4");
  statusLabel_->setStyleSheet("color: red; font-weight: bold;");
  progress_ = new QProgressBar(this);
  progress_->setObjectName("ProgressBar1");
  display_ = memo(this, "Memo1", true);
  rxLabel_ = new QLabel("RX Fenster", this);
  rx_ = memo(this, "Memo2", true);
  txLabel_ = new QLabel("TX Fenster", this);
  tx_ = memo(this, "Memo3", true);
  instructions_ = memo(this, "Memo4", false);
  instructions_->setPlainText(ChoiceGuide);
  instructions_->setMaximumHeight(80);
  tracks_ = checkList(this, "CheckListBoxTrack");
  tracks_->setMaximumHeight(140);
  next_ = new QPushButton("Weiter", this);
  next_->setObjectName("ButtonWeiter");
  points_ = checkList(this, "CheckListBoxPunkte");
  done_ = new QPushButton("Fertig", this);
  done_->setObjectName("ButtonFertig");

  auto* commands = new QVBoxLayout;
  for (std::size_t k = 1; k < buttons_.size(); ++k) commands->addWidget(buttons_[k]);
  commands->addSpacing(12);
  commands->addWidget(abort_);
  commands->addWidget(save_);
  commands->addStretch(1);
  commands->addWidget(portLabel_);
  commands->addWidget(portChooser_);
  commands->addWidget(showRxTx_);
  commands->addWidget(buttons_[0]);
  auto* shown = new QVBoxLayout;
  for (QWidget* widget : std::initializer_list<QWidget*>{bufferLabel_, statusLabel_, progress_}) {
    shown->addWidget(widget);
  }
  shown->addWidget(display_, 3);
  for (QWidget* widget : std::initializer_list<QWidget*>{rxLabel_, rx_, txLabel_, tx_}) {
    shown->addWidget(widget, widget == rx_ || widget == tx_ ? 1 : 0);
  }
  shown->addWidget(instructions_);
  shown->addWidget(tracks_, 1);
  shown->addWidget(next_, 0, Qt::AlignLeft);
  shown->addWidget(points_, 3);
  shown->addWidget(done_, 0, Qt::AlignLeft);
  auto* page = new QHBoxLayout(this);
  page->addLayout(commands);
  page->addLayout(shown, 1);
  resize(820, 560);
}

// "COM 1" .. "COM 8" and the USB serial adapters attached now; the stored
// port, or the adapter stored for it, is selected.
void GarminWindow::buildPortChooser() {
  portLabel_ = new QLabel("COM Port auswählen", this);
  portChooser_ = new QComboBox(this);
  portChooser_->setObjectName("ComboBoxCom");
  for (int n = 1; n <= ComPorts; ++n) portChooser_->addItem(QString("COM %1").arg(n));
  usbDevices_ = attachedUsbSerialDevices();
  const std::string stored = serialDevicePath(settings_, port_.PortNum());
  int selected = port_.PortNum() - 1;
  for (const SerialDevice& device : usbDevices_) {
    if (device.path == stored) selected = portChooser_->count();
    portChooser_->addItem(qt(device.byIdName.empty() ? device.path
                                                     : device.path + " (" + device.byIdName + ")"));
  }
  portChooser_->setCurrentIndex(selected);
}

void GarminWindow::connectControls() {
  const std::array<SessionCommands (garmin::GarminSession::*)(), 6> commands = {
      &garmin::GarminSession::readProductData, &garmin::GarminSession::readTracks,
      &garmin::GarminSession::readWaypoints,   &garmin::GarminSession::readDateTime,
      &garmin::GarminSession::readRoutes,      &garmin::GarminSession::readAlmanac};
  for (std::size_t k = 0; k < commands.size(); ++k) {
    connect(buttons_[k + 1], &QPushButton::clicked, this,
            [this, command = commands[k]] { run((session_.*command)()); });
  }
  connect(buttons_[0], &QPushButton::clicked, this, &GarminWindow::quit);
  connect(abort_, &QPushButton::clicked, this, [this] { run(session_.abortTransfer()); });
  connect(save_, &QPushButton::clicked, this, [this] { run(session_.showTrackList()); });
  connect(showRxTx_, &QCheckBox::toggled, this, [this](bool shown) {
    session_.setShowRxTx(shown);
    render();
  });
  connect(portChooser_, &QComboBox::activated, this, &GarminWindow::choosePort);
  connect(tracks_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
    session_.tickTrack(tracks_->row(item), item->checkState() == Qt::Checked);
    render();
  });
  connect(next_, &QPushButton::clicked, this, [this] {
    session_.showPointList();
    render();
  });
  connect(points_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
    session_.tickPoint(points_->row(item), item->checkState() == Qt::Checked);
  });
  connect(done_, &QPushButton::clicked, this, &GarminWindow::finish);
}

void GarminWindow::run(SessionCommands commands) {
  driver_.run(std::move(commands));
  render();
}

void GarminWindow::render() {
  const garmin::GarminView& view = session_.view();
  renderTransferPage(view);
  renderChoicePages(view);
  showMessage();
}

void GarminWindow::renderTransferPage(const garmin::GarminView& view) {
  const bool page = view.page == garmin::GarminView::Page::Transfer;
  const bool idle = page && !view.transferRunning;
  buttons_[0]->setVisible(idle);
  buttons_[1]->setVisible(idle);
  for (std::size_t k = 2; k < buttons_.size(); ++k) {
    buttons_[k]->setVisible(idle && view.commandButtonsVisible);
  }
  abort_->setVisible(page);
  save_->setVisible(page && view.saveButtonVisible);
  showRxTx_->setVisible(page);
  {
    const QSignalBlocker quiet(showRxTx_);
    showRxTx_->setChecked(view.showRxTx);
  }
  portLabel_->setVisible(page && view.portChooserVisible);
  portChooser_->setVisible(page && view.portChooserVisible);
  bufferLabel_->setVisible(page);
  bufferLabel_->setText(qt(view.bufferLabel));
  statusLabel_->setVisible(page);
  statusLabel_->setText(qt(view.statusLabel));
  progress_->setVisible(page && view.progressVisible);
  progress_->setRange(0, std::max(view.progressMaximum, 1));
  progress_->setValue(std::clamp(view.progress, 0, std::max(view.progressMaximum, 1)));
  display_->setVisible(page);
  showText(display_, view.display);
  for (QWidget* widget : std::initializer_list<QWidget*>{rxLabel_, rx_, txLabel_, tx_}) {
    widget->setVisible(page && view.showRxTx);
  }
  showText(rx_, view.rxText);
  showText(tx_, view.txText);
}

void GarminWindow::renderChoicePages(const garmin::GarminView& view) {
  const bool tracksPage = view.page == garmin::GarminView::Page::TrackChoice;
  const bool pointsPage = view.page == garmin::GarminView::Page::PointChoice;
  instructions_->setVisible(tracksPage);
  tracks_->setVisible(tracksPage || pointsPage);
  tracks_->setEnabled(view.trackBoxesEnabled);
  showItems(tracks_, shownTracks_, view.trackItems, view.trackTicked);
  next_->setVisible(tracksPage && view.nextVisible);
  points_->setVisible(pointsPage);
  showItems(points_, shownPoints_, view.pointItems, view.pointTicked);
  done_->setVisible(pointsPage && view.doneVisible);
}

void GarminWindow::showMessage() {
  std::string& message = session_.view().message;
  if (message.empty()) return;
  const QString text = qt(std::exchange(message, {}));
  dialogs_.warn(this, windowTitle(), text);
}

// A "COM n" item sets the port number; an adapter is stored as the device
// of the current port number.
void GarminWindow::choosePort(int index) {
  if (port_.IsOpen() || index < 0) return;
  if (index < ComPorts) {
    port_.setPortNum(index + 1);
  } else if (static_cast<std::size_t>(index - ComPorts) < usbDevices_.size()) {
    storeSerialDevicePath(settings_, port_.PortNum(),
                          usbDevices_[static_cast<std::size_t>(index - ComPorts)].path);
  }
  storeComPort(settings_, "GPS", port_.PortNum());
}

// "Fertig": the header details, then the file; leaving the details without
// saving writes nothing.
void GarminWindow::finish() {
  const auto header = dialogs_.igcHeaderDetails(this, settings_, false);
  if (!header) {
    session_.leavePointList();
    render();
    return;
  }
  handOverDownload(session_.writeFile(*header, clock_()), record_, settings_);
  render();
}

void GarminWindow::quit() {
  host_.closeTranscript();
  accept();
}

}  // namespace quorvanta
