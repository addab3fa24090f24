#include "app/IgcHeaderDialog.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/QtText.h"

namespace quorvanta {

namespace {

constexpr std::array<const char*, 8> FieldCaptions = {
    "Pilot", "Glider Typ", "Glider ID (Serien-Nr.)", "Class (Wettb. Klasse)",
    "Site (Fluggelände)", "Contest Bezeichnung", "Pilot ID", "Pfad zum Speichern des IGC-Files:"};

constexpr int PathField = 8;
constexpr int ClassField = 4;
constexpr int PilotIdField = 7;

QPlainTextEdit* memo(QWidget* parent, const char* name, const QStringList& lines, int shownLines) {
  auto* text = new QPlainTextEdit(lines.join('\n'), parent);
  text->setObjectName(name);
  text->setReadOnly(true);
  text->setFrameShape(QFrame::NoFrame);
  text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  text->setFixedHeight(text->fontMetrics().lineSpacing() * shownLines + 12);
  QPalette look = text->palette();
  look.setColor(QPalette::Base, parent->palette().color(QPalette::Window));
  text->setPalette(look);
  return text;
}

// Red for a failing field, the normal colour of `role` otherwise.
void markFailed(QWidget* widget, QPalette::ColorRole role, bool failed) {
  QPalette look = widget->palette();
  look.setColor(role, failed ? QColor(255, 0, 0) : QApplication::palette(widget).color(role));
  widget->setPalette(look);
}

QToolButton* arrowButton(QWidget* parent, Qt::ArrowType arrow, const char* name) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setArrowType(arrow);
  button->setFixedSize(18, 11);
  return button;
}

}  // namespace

IgcHeaderDialog::IgcHeaderDialog(SettingsStore& settings, UserDialogs& dialogs,
                                 bool fromFlightRecorder, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      dialogs_(dialogs),
      fromFlightRecorder_(fromFlightRecorder) {
  setObjectName("FormIGCKonfig");
  setWindowTitle("Quorvanta: weitere Angaben zum IGC-File");
  buildControls();
  loadFields();
}

void IgcHeaderDialog::buildControls() {
  recorderHint_ = memo(
      this, "Memo3",
      {"Es wurde ein IGC-File aus einem IGC-kompatiblen Flight Recorder eingelesen.",
       "In diesem Fall können nur noch folgende Parameter eingegeben werden, ohne die ",
       "Gültigkeit des Files zu verletzen."},
      3);
  idHint_ = memo(this, "Memo1",
                 {"Hier bitte exakt 4 Buchstaben wählen, die an ",
                  "den Pilotennamen erinnern sollten."},
                 2);
  const QString longestHint = "Hier bitte exakt 4 Buchstaben wählen, die an ";
  idHint_->setMinimumWidth(idHint_->fontMetrics().horizontalAdvance(longestHint) + 24);
  saveHint_ = memo(this, "Memo2",
                   {"Erst wenn hier alles plausibel eingegeben ist, erscheint der Button zum "
                    "speichern des .igc-Files. Mit ",
                    "<Konfiguration speichern> werden  diese Angaben beim nächsten Mal "
                    "automatisch wieder ",
                    "vorgeschlagen. "},
                   4);
  auto* grid = new QGridLayout;
  for (std::size_t k = 0; k < fields_.size(); ++k) {
    labels_[k] = new QLabel(FieldCaptions[k], this);
    labels_[k]->setObjectName(QString("Label%1").arg(k + 1));
    fields_[k] = new QLineEdit(this);
    fields_[k]->setObjectName(QString("Edit%1").arg(k + 1));
    fields_[k]->setMinimumWidth(260);
    connect(fields_[k], &QLineEdit::textChanged, this, &IgcHeaderDialog::checkFields);
  }
  for (int row = 0; row < PathField - 1; ++row) {
    grid->addWidget(labels_[static_cast<std::size_t>(row)], row, 0);
    grid->addWidget(fields_[static_cast<std::size_t>(row)], row, 1);
  }
  field(ClassField)->setReadOnly(true);  // the up-down control chooses the class
  classUp_ = arrowButton(this, Qt::UpArrow, "UpDown1Up");
  classDown_ = arrowButton(this, Qt::DownArrow, "UpDown1Down");
  connect(classUp_, &QToolButton::clicked, this, [this] { stepClass(+1); });
  connect(classDown_, &QToolButton::clicked, this, [this] { stepClass(-1); });
  auto* upDown = new QVBoxLayout;
  upDown->setSpacing(0);
  upDown->addWidget(classUp_);
  upDown->addWidget(classDown_);
  grid->addLayout(upDown, ClassField - 1, 2);
  field(PilotIdField)->setMaxLength(4);
  grid->addWidget(idHint_, PilotIdField - 1, 2, 1, 2);
  grid->addWidget(fieldLabel(PathField), PathField - 1, 0, 1, 2);
  browse_ = new QPushButton("Durchsuchen", this);
  connect(browse_, &QPushButton::clicked, this, &IgcHeaderDialog::browse);
  auto* pathRow = new QHBoxLayout;
  pathRow->addWidget(field(PathField), 1);
  pathRow->addWidget(browse_);
  grid->addLayout(pathRow, PathField, 0, 1, 4);
  grid->setColumnStretch(3, 1);

  save_ = new QPushButton("IGC File speichern", this);
  save_->setObjectName("Speichern");
  QSizePolicy keepPlace = save_->sizePolicy();
  keepPlace.setRetainSizeWhenHidden(true);
  save_->setSizePolicy(keepPlace);
  cancel_ = new QPushButton("Abbrechen", this);
  saveConfiguration_ = new QPushButton("Konfiguration speichern", this);
  connect(save_, &QPushButton::clicked, this, &IgcHeaderDialog::confirm);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(saveConfiguration_, &QPushButton::clicked, this, &IgcHeaderDialog::saveConfiguration);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(saveConfiguration_);
  buttons->addStretch(1);
  buttons->addWidget(save_);
  buttons->addWidget(cancel_);

  auto* page = new QVBoxLayout(this);
  page->addWidget(recorderHint_);
  page->addLayout(grid);
  page->addWidget(saveHint_);
  page->addLayout(buttons);
}

// The stored values into the fields; a flight recorder's file hides what it
// already names.
void IgcHeaderDialog::loadFields() {
  saveConfirmed_ = false;
  for (int number = 1; number <= 3; ++number) {
    field(number)->setVisible(!fromFlightRecorder_);
    fieldLabel(number)->setVisible(!fromFlightRecorder_);
  }
  recorderHint_->setVisible(fromFlightRecorder_);
  fieldsLoaded_ = false;
  const IgcHeaderValues stored = readIgcHeader(settings_);
  const std::array<const std::string*, 8> texts = {
      &stored.pilot,         &stored.gliderType, &stored.gliderId, &stored.competitionClass,
      &stored.site,          &stored.competitionId, &stored.pilotId, &stored.directory};
  for (std::size_t k = 0; k < texts.size(); ++k) fields_[k]->setText(qt(*texts[k]));
  classPosition_ = quorvanta::classPosition(stored.competitionClass);
  fieldsLoaded_ = true;
  checkFields();
}

void IgcHeaderDialog::stepClass(int step) {
  classPosition_ = steppedClassPosition(classPosition_, step);
  checkFields();
}

void IgcHeaderDialog::checkFields() {
  if (fieldsLoaded_) {
    values_.pilot = field(1)->text().toStdString();
    values_.gliderType = field(2)->text().toStdString();
    values_.gliderId = field(3)->text().toStdString();
    values_.competitionClass = std::string(classAt(classPosition_));
    {
      const QSignalBlocker quiet(field(ClassField));
      field(ClassField)->setText(qt(values_.competitionClass));
    }
    values_.site = field(5)->text().toStdString();
    values_.competitionId = field(6)->text().toStdString();
    values_.pilotId = pilotIdText(field(PilotIdField)->text().toStdString());
    values_.directory = directoryValue(field(PathField)->text().toStdString());
  }
  checks_ = checkHeaderFields(values_, field(PathField)->text().toStdString(), fromFlightRecorder_);
  colourChecks();
}

void IgcHeaderDialog::colourChecks() {
  const std::array<bool, 8> passed = {checks_.pilot, checks_.gliderType, checks_.gliderId,
                                      checks_.competitionClass, checks_.site,
                                      checks_.competitionId, checks_.pilotId, checks_.directory};
  for (std::size_t k = 0; k < passed.size(); ++k) {
    markFailed(labels_[k], QPalette::WindowText, !passed[k]);
  }
  save_->setVisible(checks_.saveAllowed);
  markFailed(saveHint_, QPalette::Text, !checks_.saveAllowed);
}

void IgcHeaderDialog::confirm() {
  field(PathField)->setText(qt(values_.directory));
  saveConfirmed_ = true;
  fieldsLoaded_ = false;
  accept();
}

void IgcHeaderDialog::saveConfiguration() {
  saveIgcHeader(settings_, values_, fromFlightRecorder_);
  field(PathField)->setText(qt(values_.directory));
}

void IgcHeaderDialog::browse() {
  const auto chosen = dialogs_.existingDirectory(
      this, "Pfad zum Speichern des IGC-Files",
      qt(directoryValue(field(PathField)->text().toStdString())));
  if (!chosen) return;
  field(PathField)->setText(chosen->endsWith('/') ? *chosen : *chosen + '/');
}

}  // namespace quorvanta
