#include "app/SendrakelWindow.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/QtText.h"
#include "app/SessionWindowEvents.h"
#include "app/SendrakelSettingsWindow.h"
#include "devices/garmin/GarminSession.h"
#include "devices/port/PortNames.h"
#include "devices/sendrakel/SendrakelDownload.h"
#include "flight/ApplicationTitle.h"
#include "flight/DayCount.h"
#include "flight/FieldText.h"

namespace quorvanta {

namespace {

using sendrakel::SettingsSection;

const char* const NamesNote =
    "Achtung: Wenn man diese Namen nicht übernimmt, so wird der G-Record des Sendrakels durch "
    "einen G-Record von Quorvanta \nersetzt. Dies ist für den OLC 2003 des DHV regelkonform. "
    "Strengere Dokumentationsanforderungen können dadurch eventuell \nverletzt und in der Folge "
    "die Dokumentation ungültig werden.";

QPushButton* button(QWidget* parent, const char* name, const char* caption) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(name);
  return b;
}

QPlainTextEdit* memo(QWidget* parent, const char* name) {
  auto* text = new QPlainTextEdit(parent);
  text->setObjectName(name);
  text->setReadOnly(true);
  text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  text->setLineWrapMode(QPlainTextEdit::NoWrap);
  return text;
}

}  // namespace

SendrakelWindow::SendrakelWindow(FlightRecord& record, SettingsStore& settings,
                                 UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      record_(record),
      settings_(settings),
      dialogs_(dialogs),
      clock_(localNow),
      port_(dispatcher_),
      host_(*this, settings, dialogs,
            {"Sendra", "Filename Sendra", "Filename für LogFile Sendrakel", "SRKlog.txt",
             "Textdatei (*.txt)"},
            [this] { return garmin::transcriptFirstLine(clock_()); }),
      driver_(session_, port_, host_) {
  setObjectName("FormSendrakel");
  setWindowTitle(QString("Sendrakel auslesen für %1").arg(qt(std::string(ApplicationTitle))));
  record_.DownloadDone = false;
  showSettings_ = [this](int portNumber) {
    SendrakelSettingsWindow window(settings_, dialogs_, portNumber, this);
    window.exec();
  };
  sendrakel::configurePort(port_);
  connectSessionEvents(port_, settings_, host_, driver_, [this] { render(); });
  port_.setPortNum(sendrakel::storedPortNumber(settings_));
  session_.setSpeedIndex(sendrakel::storedSpeedIndex(settings_));
  const auto test = settings_.readString(SettingsSection, "Test", "0");
  testMode_ = toLower(test) == "true" || test == "1";
  buildControls();
  connectControls();
  render();
}

SendrakelWindow::~SendrakelWindow() = default;

void SendrakelWindow::buildControls() {
  auto* portBox = new QGroupBox("COM Port", this);
  auto* portRows = new QHBoxLayout(portBox);
  for (std::size_t k = 0; k < ports_.size(); ++k) {
    ports_[k] = new QRadioButton(QString("COM %1").arg(k + 1), portBox);
    ports_[k]->setObjectName(QString("RadioButton%1").arg(k + 1));
    ports_[k]->setChecked(static_cast<int>(k) + 1 == port_.PortNum());
    portRows->addWidget(ports_[k]);
  }
  speeds_ = new QGroupBox("Baudrate für Track auslesen", this);
  speeds_->setObjectName("RadioGroup1");
  auto* speedRows = new QVBoxLayout(speeds_);
  const int speedIndex = sendrakel::storedSpeedIndex(settings_);
  for (std::size_t k = 0; k < speedButtons_.size(); ++k) {
    speedButtons_[k] = new QRadioButton(
        QString("%1 Baud").arg(sendrakel::TransferSpeeds[k]), speeds_);
    speedButtons_[k]->setChecked(static_cast<int>(k) == speedIndex);
    speedRows->addWidget(speedButtons_[k]);
  }
  start_ = button(this, "ButtonStart", "Logger Tracks auslesen");
  delete_ = button(this, "ButtonDel", "Logger Tracks löschen");
  status_ = button(this, "ButtonBAT", "Logger Status auslesen");
  on_ = button(this, "ButtonOn", "Logger On");
  off_ = button(this, "ButtonOff", "Logger Off");
  set_ = button(this, "ButtonSet", "Logger einstellen");
  hex_ = button(this, "ButtonHex", "Logger Hex Dump");
  save_ = button(this, "ButtonAuswertung", "igc-File speichern");
  done_ = button(this, "ButtonFertig", "Fertig");
  quit_ = button(this, "OKButton", "Beenden");
  tracks_ = new QListWidget(this);
  tracks_->setObjectName("CheckListBoxTrack");
  tracks_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  names_ = new QCheckBox(
      "Übernehmen von Pilotennamen, Glider-Typ und Glider-ID aus dem Sendrakel. Der G-Record "
      "des Sendrakels bleibt erhalten.",
      this);
  names_->setObjectName("CheckBoxNamen");
  names_->setChecked(true);
  memo1_ = memo(this, "Memo1");
  memo2_ = memo(this, "Memo2");
  memo2_->setPlainText(NamesNote);
  memo2_->setMaximumHeight(70);
  label1_ = new QLabel(this);
  label1_->setObjectName("Label1");
  label2_ = new QLabel(this);
  label2_->setObjectName("Label2");
  progress_ = new QProgressBar(this);
  progress_->setObjectName("ProgressBar1");
  progress_->setRange(0, 100);

  auto* commands = new QVBoxLayout;
  for (QWidget* w : std::initializer_list<QWidget*>{start_, status_, delete_, on_, off_, set_,
                                                   hex_, save_}) {
    commands->addWidget(w);
  }
  commands->addWidget(speeds_);
  commands->addStretch(1);
  commands->addWidget(quit_);
  auto* shown = new QVBoxLayout;
  shown->addWidget(portBox);
  shown->addWidget(label1_);
  shown->addWidget(label2_);
  shown->addWidget(progress_);
  shown->addWidget(memo1_, 1);
  shown->addWidget(tracks_, 1);
  shown->addWidget(names_);
  shown->addWidget(memo2_);
  shown->addWidget(done_, 0, Qt::AlignLeft);
  auto* page = new QHBoxLayout(this);
  page->addLayout(commands);
  page->addLayout(shown, 1);
  resize(900, 560);
}

void SendrakelWindow::connectControls() {
  for (std::size_t k = 0; k < ports_.size(); ++k) {
    connect(ports_[k], &QRadioButton::clicked, this,
            [this, k] { choosePort(static_cast<int>(k) + 1); });
  }
  for (std::size_t k = 0; k < speedButtons_.size(); ++k) {
    connect(speedButtons_[k], &QRadioButton::clicked, this, [this, k] {
      session_.setSpeedIndex(static_cast<int>(k));
      settings_.writeString(SettingsSection, "COM Speed", std::to_string(k));
    });
  }
  connect(start_, &QPushButton::clicked, this, [this] { run(session_.readTracks()); });
  connect(status_, &QPushButton::clicked, this, [this] { run(session_.readStatus()); });
  connect(on_, &QPushButton::clicked, this, [this] { run(session_.loggerOn()); });
  connect(off_, &QPushButton::clicked, this, [this] { run(session_.loggerOff()); });
  connect(hex_, &QPushButton::clicked, this,
          [this] { run(session_.readHexDump(sendrakel::storedHexDumpPath(settings_))); });
  connect(delete_, &QPushButton::clicked, this, &SendrakelWindow::confirmDelete);
  connect(set_, &QPushButton::clicked, this, &SendrakelWindow::adjustLogger);
  connect(save_, &QPushButton::clicked, this, [this] {
    session_.showTrackList();
    render();
  });
  connect(tracks_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
    session_.tickTrack(tracks_->row(item), item->checkState() == Qt::Checked);
    render();
  });
  connect(names_, &QCheckBox::toggled, this, [this](bool taken) {
    session_.setTakeNames(taken);
    render();
  });
  connect(done_, &QPushButton::clicked, this, &SendrakelWindow::finish);
  connect(quit_, &QPushButton::clicked, this, &SendrakelWindow::quit);
}

void SendrakelWindow::run(SessionCommands commands) {
  driver_.run(std::move(commands));
  render();
}

void SendrakelWindow::render() {
  const sendrakel::SendrakelView& view = session_.view();
  const bool transfer = view.page == sendrakel::SendrakelView::Page::Transfer;
  const bool idle = transfer && view.requestButtonsVisible;
  for (QPushButton* b : {start_, status_, delete_, on_, off_, set_}) b->setVisible(idle);
  speeds_->setVisible(idle);
  hex_->setVisible(idle && testMode_);
  save_->setVisible(idle && view.saveButtonVisible);
  for (QRadioButton* r : ports_) r->setVisible(view.portChoiceVisible);
  ports_[0]->parentWidget()->setVisible(view.portChoiceVisible);
  label1_->setText(qt(view.label1));
  label1_->setStyleSheet(view.label1Red ? "color: red; font-weight: bold;" : "");
  label2_->setVisible(transfer);
  label2_->setText(qt(view.label2));
  progress_->setVisible(transfer && view.progressVisible);
  progress_->setValue(view.progress);
  memo1_->setVisible(transfer);
  if (memo1_->toPlainText() != qt(view.memo1)) {
    memo1_->setPlainText(qt(view.memo1));
    memo1_->moveCursor(QTextCursor::End);
  }
  tracks_->setVisible(!transfer);
  {
    const QSignalBlocker quiet(tracks_);
    if (shownTracks_ != view.trackItems) {
      tracks_->clear();
      for (const std::string& text : view.trackItems) {
        auto* item = new QListWidgetItem(qt(text), tracks_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
      }
      shownTracks_ = view.trackItems;
    }
    for (int row = 0; row < tracks_->count(); ++row) {
      tracks_->item(row)->setCheckState(view.tickedTrack == row ? Qt::Checked : Qt::Unchecked);
    }
  }
  names_->setVisible(!transfer && view.doneVisible);
  memo2_->setVisible(!transfer && view.doneVisible && !view.takeNames);
  done_->setVisible(!transfer && view.doneVisible);
  showMessage();
}

void SendrakelWindow::showMessage() {
  std::string& message = session_.view().message;
  if (message.empty()) return;
  dialogs_.warn(this, windowTitle(), qt(std::exchange(message, {})));
}

void SendrakelWindow::choosePort(int number) {
  run(session_.closePort());
  port_.setPortNum(number);
  settings_.writeString(SettingsSection, "COM Port", std::to_string(number));
}

void SendrakelWindow::confirmDelete() {
  if (!dialogs_.askOkCancel(this, "Löschen bestätigen",
                            "Sollen alle Trackdaten im Logger wirklich gelöscht werden?")) {
    return;
  }
  run(session_.deleteTracks());
}

// The settings window has the line to itself; the logger is switched on
// again afterwards.
void SendrakelWindow::adjustLogger() {
  run(session_.closePort());
  showSettings_(port_.PortNum());
  run(session_.loggerOn());
}

void SendrakelWindow::finish() {
  const auto header = dialogs_.igcHeaderDetails(this, settings_, session_.view().takeNames);
  if (!header) return;
  const DownloadOutcome outcome = session_.writeFile(*header, clock_());
  if (!outcome.error) {
    record_.DownloadedFile = outcome.path;
    record_.DownloadDone = true;
  }
  render();
}

void SendrakelWindow::quit() {
  run(session_.closePort());
  host_.closeTranscript();
  accept();
}

}  // namespace quorvanta
