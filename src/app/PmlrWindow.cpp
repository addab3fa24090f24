#include "app/PmlrWindow.h"

#include <algorithm>
#include <cmath>

#include <QAbstractListModel>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/ComPortChooser.h"
#include "app/DownloadHandOver.h"
#include "app/QtText.h"
#include "app/SessionWindowEvents.h"
#include "devices/pmlr/PmlrDownload.h"
#include "flight/DayCount.h"
#include "flight/FieldText.h"

namespace quorvanta {

namespace {

constexpr int PmlrPorts = 4;
constexpr int DayMs = 86400000;

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

QTime timeOfDay(double fraction) {
  return QTime::fromMSecsSinceStartOfDay(std::clamp(static_cast<int>(std::lround(fraction * DayMs)), 0, DayMs - 1));
}

double dayFraction(const QTime& time) { return static_cast<double>(time.msecsSinceStartOfDay()) / DayMs; }

}  // namespace

// The session's point list as a view's model: the texts are converted only
// for the rows on screen, so that a track of 30,000 points shows at once.
class PointListModel : public QAbstractListModel {
 public:
  PointListModel(const pmlr::PmlrSession& session, QObject* parent)
      : QAbstractListModel(parent), session_(session) {}

  // The session made a new list.
  void refresh() {
    beginResetModel();
    rows_ = static_cast<int>(session_.view().pointItems.size());
    endResetModel();
  }
  // The session changed ticks.
  void retick() {
    if (rows_ > 0) emit dataChanged(index(0), index(rows_ - 1), {Qt::CheckStateRole});
  }
  // The pilot ticked or unticked a point.
  std::function<void(int row, bool ticked)> ticked;

  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : rows_; }

  QVariant data(const QModelIndex& at, int role) const override {
    const pmlr::PmlrView& view = session_.view();
    const auto row = static_cast<std::size_t>(at.row());
    if (!at.isValid() || at.row() >= rows_ || row >= view.pointItems.size()) return {};
    if (role == Qt::DisplayRole) return qt(view.pointItems[row]);
    if (role == Qt::CheckStateRole) {
      return row < view.pointTicked.size() && view.pointTicked[row] ? Qt::Checked : Qt::Unchecked;
    }
    return {};
  }

  bool setData(const QModelIndex& at, const QVariant& value, int role) override {
    if (role != Qt::CheckStateRole || !at.isValid() || at.row() >= rows_ || !ticked) return false;
    ticked(at.row(), value.toInt() == Qt::Checked);
    emit dataChanged(at, at, {Qt::CheckStateRole});
    return true;
  }

  Qt::ItemFlags flags(const QModelIndex&) const override {
    return Qt::ItemIsEnabled | Qt::ItemIsUserCheckable;
  }

 private:
  const pmlr::PmlrSession& session_;
  int rows_ = 0;
};

PmlrWindow::PmlrWindow(FlightRecord& record, SettingsStore& settings, UserDialogs& dialogs,
                       std::unique_ptr<pmlr::PmlrSession> session, PmlrWindowKind kind,
                       QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      session_(std::move(session)),
      record_(record),
      dialogs_(dialogs),
      kind_(std::move(kind)),
      clock_(localNow),
      port_(dispatcher_),
      host_(*this, settings, dialogs, kind_.transcript, {}),
      driver_(*session_, port_, host_) {
  setObjectName(kind_.objectName);
  setWindowTitle(qt(kind_.caption));
  record_.DownloadDone = false;
  pmlr::configurePort(port_);
  connectSessionEvents(port_, settings_, host_, driver_, [this] { render(); });
  const int stored = storedComPort(settings_, kind_.section);
  port_.setPortNum(stored <= PmlrPorts ? stored : 1);
  port_.OnError = [this](int errors) {
    session_->lineErrors(errors);
    render();
  };
  buildControls();
  connectControls();
  render();
}

PmlrWindow::~PmlrWindow() { port_.OnError = nullptr; }

int PmlrWindow::storedSpeedIndex(const PmlrWindowKind::SpeedGroup& group) const {
  const auto index = integerField(settings_.readString(kind_.section, group.key, "0"));
  return index && *index >= 0 && *index < static_cast<int>(group.speeds.size()) ? *index : 0;
}

void PmlrWindow::buildControls() {
  auto* portLayout = new QHBoxLayout;
  for (int k = 0; k < PmlrPorts; ++k) {
    auto* button = new QRadioButton(QString("COM %1").arg(k + 1), this);
    button->setObjectName(QString("RadioButton%1").arg(k + 1));
    portLayout->addWidget(button);
    ports_[static_cast<std::size_t>(k)] = button;
  }
  ports_[static_cast<std::size_t>(port_.PortNum() - 1)]->setChecked(true);
  const auto button = [this](const char* name, const char* caption) {
    auto* made = new QPushButton(caption, this);
    made->setObjectName(name);
    return made;
  };
  showRx_ = new QCheckBox("ShowRx ", this);
  showRx_->setObjectName("ShowRx");
  serialNumber_ = button("ButtonSN", "S-Nr. auslesen");
  for (const PmlrWindowKind::SpeedGroup& group : kind_.speedGroups) {
    speedGroups_.push_back(speedGroup(group));
  }
  track_ = button("ButtonStart", "Track auslesen");
  abort_ = button("ComAbbruch", "Com Abbruch");
  erase_ = button("ButtonErase", "Erase Log_it! Flash");
  save_ = button("ButtonAuswertung", "igc-File speichern");
  time_ = button("ButtonTime", "Ausw. Datum/Zeit");
  finish_ = button("ButtonFertig", "Fertig");
  quit_ = button("OKButton", "Beenden");
  label1_ = new QLabel(this);
  label1_->setObjectName("Label1");
  label1_->setWordWrap(true);
  label2_ = new QLabel(this);
  label2_->setObjectName("Label2");
  label2_->setWordWrap(true);
  progress_ = new QProgressBar(this);
  progress_->setObjectName("ProgressBar1");
  progress_->setRange(0, 100);
  memo_ = memo(this, "Memo1", true);
  explanation_ = memo(this, "Memo2", false);
  explanation_->setPlainText(qt(pmlr::PointListExplanation).trimmed());
  explanation_->setMaximumHeight(90);
  points_ = new QListView(this);
  points_->setObjectName("CheckListBoxPunkte");
  points_->setUniformItemSizes(true);  // no measuring of every row
  points_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  pointModel_ = new PointListModel(*session_, points_);
  points_->setModel(pointModel_);
  timeWindow_ = timeWindowControls();
  warning_ = memo(this, "Memo3", false);
  warning_->setPlainText(qt(pmlr::TimeWindowWarning).trimmed());
  warning_->setStyleSheet("color: red; font-weight: bold;");
  warning_->setMaximumHeight(70);

  auto* buttons = new QVBoxLayout;
  buttons->addLayout(portLayout);
  buttons->addWidget(showRx_);
  buttons->addWidget(serialNumber_);
  for (QGroupBox* group : speedGroups_) buttons->addWidget(group);
  for (QPushButton* command : {track_, abort_, erase_, save_, time_, finish_}) buttons->addWidget(command);
  buttons->addStretch(1);
  buttons->addWidget(quit_);
  auto* shown = new QVBoxLayout;
  for (QWidget* widget : std::initializer_list<QWidget*>{label1_, label2_, progress_}) shown->addWidget(widget);
  shown->addWidget(memo_, 1);
  shown->addWidget(explanation_);
  shown->addWidget(points_, 1);
  shown->addWidget(timeWindow_);
  shown->addWidget(warning_);
  auto* page = new QHBoxLayout(this);
  page->addLayout(buttons);
  page->addLayout(shown, 1);
  resize(900, 560);
}

QGroupBox* PmlrWindow::speedGroup(const PmlrWindowKind::SpeedGroup& group) {
  auto* box = new QGroupBox(group.caption, this);
  box->setObjectName(group.name);
  auto* layout = new QVBoxLayout(box);
  const int chosen = storedSpeedIndex(group);
  for (std::size_t k = 0; k < group.speeds.size(); ++k) {
    auto* choice = new QRadioButton(QString("%1 Baud").arg(group.speeds[k]), box);
    choice->setChecked(static_cast<int>(k) == chosen);
    layout->addWidget(choice);
    connect(choice, &QRadioButton::toggled, this, [this, &group, k](bool ticked) {
      if (ticked) chooseSpeed(group, static_cast<int>(k));
    });
  }
  return box;
}

QWidget* PmlrWindow::timeWindowControls() {
  auto* controls = new QWidget(this);
  auto* grid = new QGridLayout(controls);
  grid->setContentsMargins(0, 0, 0, 0);
  start_ = new QTimeEdit(controls);
  start_->setObjectName("DateTimePicker1");
  end_ = new QTimeEdit(controls);
  end_->setObjectName("DateTimePicker2");
  for (QTimeEdit* picker : {start_, end_}) picker->setDisplayFormat("HH:mm:ss");
  date_ = new QDateEdit(controls);
  date_->setObjectName("DateTimePicker3");
  date_->setDisplayFormat("dd.MM.yyyy");
  date_->setCalendarPopup(true);
  const std::array<std::pair<const char*, QWidget*>, 3> pickers = {
      {{"Startzeit", start_}, {"Endzeit ", end_}, {"Datum", date_}}};
  for (std::size_t k = 0; k < pickers.size(); ++k) {
    grid->addWidget(new QLabel(pickers[k].first, controls), 0, static_cast<int>(k));
    grid->addWidget(pickers[k].second, 1, static_cast<int>(k));
  }
  grid->setColumnStretch(static_cast<int>(pickers.size()), 1);
  return controls;
}

void PmlrWindow::connectControls() {
  for (int k = 0; k < PmlrPorts; ++k) {
    connect(ports_[static_cast<std::size_t>(k)], &QRadioButton::toggled, this,
            [this, k](bool ticked) {
              if (ticked) choosePort(k + 1);
            });
  }
  connect(showRx_, &QCheckBox::toggled, this, [this](bool shown) { session_->setShowRx(shown); });
  connect(serialNumber_, &QPushButton::clicked, this, [this] { run(session_->readSerialNumber()); });
  connect(track_, &QPushButton::clicked, this, [this] { run(session_->readTrack()); });
  connect(abort_, &QPushButton::clicked, this, [this] { run(session_->abort()); });
  connect(erase_, &QPushButton::clicked, this, &PmlrWindow::erase);
  connect(save_, &QPushButton::clicked, this, [this] {
    session_->showPointList();
    render();
  });
  connect(time_, &QPushButton::clicked, this, [this] {
    session_->showTimeWindow(clock_());
    render();
  });
  connect(finish_, &QPushButton::clicked, this, &PmlrWindow::finish);
  connect(quit_, &QPushButton::clicked, this, &PmlrWindow::quit);
  pointModel_->ticked = [this](int row, bool ticked) { session_->tickPoint(row, ticked); };
  connect(start_, &QTimeEdit::timeChanged, this, &PmlrWindow::pickerChanged);
  connect(end_, &QTimeEdit::timeChanged, this, &PmlrWindow::pickerChanged);
  connect(date_, &QDateEdit::dateChanged, this, &PmlrWindow::pickerChanged);
}

void PmlrWindow::run(SessionCommands commands) {
  driver_.run(std::move(commands));
  render();
}

void PmlrWindow::render() {
  const pmlr::PmlrView& view = session_->view();
  const bool transfer = view.page == pmlr::PmlrView::Page::Transfer;
  for (QRadioButton* button : ports_) button->setVisible(transfer && view.portChoiceVisible);
  showRx_->setVisible(view.showRxVisible);
  {
    const QSignalBlocker quiet(showRx_);
    showRx_->setChecked(view.showRx);
  }
  serialNumber_->setVisible(view.serialButtonVisible);
  // Only the choice of the instrument identified: an MLR takes no Log_it! speed.
  const std::vector<int> offered = session_->speedChoices();
  for (std::size_t k = 0; k < speedGroups_.size(); ++k) {
    speedGroups_[k]->setVisible(view.speedChoiceVisible && kind_.speedGroups[k].speeds == offered);
  }
  track_->setVisible(view.trackButtonVisible);
  abort_->setVisible(view.abortButtonVisible);
  erase_->setVisible(kind_.erases && view.eraseButtonVisible);
  save_->setVisible(view.saveButtonVisible);
  label1_->setText(qt(view.label1));
  label1_->setStyleSheet(view.label1Red ? "color: red;" : "");
  label2_->setText(qt(view.label2));
  label2_->setVisible(!view.label2.empty());
  progress_->setVisible(view.progressVisible);
  progress_->setValue(std::clamp(view.progress, 0, 100));
  memo_->setVisible(view.memoVisible);
  const QString text = qt(view.memo);
  if (memo_->toPlainText() != text) {
    memo_->setPlainText(text);
    memo_->moveCursor(QTextCursor::End);
  }
  renderPointPage(view);
  std::string& message = session_->view().message;
  if (!message.empty()) dialogs_.warn(this, windowTitle(), qt(std::exchange(message, {})));
}

void PmlrWindow::renderPointPage(const pmlr::PmlrView& view) {
  const bool list = view.page == pmlr::PmlrView::Page::PointList;
  if (list && !std::exchange(pointListShown_, true)) {
    pointModel_->refresh();
  } else if (list) {
    pointModel_->retick();
  }
  if (!list) pointListShown_ = false;
  explanation_->setVisible(list);
  points_->setVisible(list);
  time_->setVisible(view.finishButtonsVisible);
  finish_->setVisible(view.finishButtonsVisible);
  timeWindow_->setVisible(view.timeWindowVisible);
  warning_->setVisible(view.timeWindowVisible);
  const QSignalBlocker quietStart(start_), quietEnd(end_), quietDate(date_);
  start_->setTime(timeOfDay(view.windowStart));
  end_->setTime(timeOfDay(view.windowEnd));
  const DateTimeParts day = dateTimeParts(view.windowDate);
  date_->setDate(QDate(day.year, day.month, day.day));
}

void PmlrWindow::choosePort(int number) {
  driver_.run(session_->changePort());
  port_.setPortNum(number);
  storeComPort(settings_, kind_.section, number);
  render();
}

void PmlrWindow::chooseSpeed(const PmlrWindowKind::SpeedGroup& group, int index) {
  settings_.writeString(kind_.section, group.key, std::to_string(index));
  applyStoredSpeeds();
}

void PmlrWindow::erase() {
  if (!dialogs_.askOkCancel(this, "Löschen bestätigen",
                            "Soll der Track-Speicher des Log_it! wirklich gelöscht werden?")) {
    return;
  }
  run(eraseTrackMemory());
}

void PmlrWindow::pickerChanged() {
  const QDate day = date_->date();
  const double date = encodeDate(day.year(), day.month(), day.day()).value_or(0);
  session_->setTimeWindow(dayFraction(start_->time()), dayFraction(end_->time()), date);
  render();
}

// "Fertig": the header details, then the file; leaving the details without
// saving writes nothing and goes back to the transfer page.
void PmlrWindow::finish() {
  const auto header = dialogs_.igcHeaderDetails(this, settings_, false);
  if (!header) {
    session_->leavePointList();
    render();
    return;
  }
  handOverDownload(session_->writeFile(*header, clock_()), record_, settings_);
  render();
}

void PmlrWindow::quit() {
  host_.closeTranscript();
  port_.Close();
  accept();
}

}  // namespace quorvanta
