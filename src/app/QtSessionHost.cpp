#include "app/QtSessionHost.h"

#include <QFileInfo>

#include "app/AppSettings.h"
#include "app/QtText.h"

namespace quorvanta {

namespace {

constexpr const char* UnknownName = "unbekannt";

bool isUnknown(const QString& name) {
  return name.isEmpty() || QFileInfo(name).completeBaseName() == UnknownName;
}

}  // namespace

QtSessionHost::QtSessionHost(QWidget& window, SettingsStore& settings, UserDialogs& dialogs,
                             TranscriptChoice choice, std::function<std::string()> firstLine)
    : window_(window),
      settings_(settings),
      dialogs_(dialogs),
      choice_(std::move(choice)),
      firstLine_(std::move(firstLine)) {}

QtSessionHost::~QtSessionHost() = default;

void QtSessionHost::startTimer(int timer, int milliseconds) {
  std::unique_ptr<QTimer>& slot = timers_[timer];
  if (!slot) {
    slot = std::make_unique<QTimer>();
    slot->setSingleShot(true);
    QObject::connect(slot.get(), &QTimer::timeout, [this, timer] {
      if (fired_) fired_(timer);
    });
  }
  slot->start(milliseconds);
}

void QtSessionHost::stopTimer(int timer) {
  const auto found = timers_.find(timer);
  if (found != timers_.end()) found->second->stop();
}

bool QtSessionHost::timerRunning(int timer) const {
  const auto found = timers_.find(timer);
  return found != timers_.end() && found->second->isActive();
}

std::optional<std::string> QtSessionHost::openTranscript() {
  if (transcript_.is_open() || !choice_.section) return std::nullopt;
  const auto name = chooseTranscriptName();
  if (!name) return "Ohne Protokolldatei wird nichts an das Gerät gesendet.";
  settings_.writeString(choice_.section, choice_.key, name->toStdString());
  transcript_.open(name->toStdString(), std::ios::binary | std::ios::trunc);
  if (!transcript_) {
    transcript_ = std::ofstream();
    return "Die Protokolldatei „" + name->toStdString() + "“ lässt sich nicht anlegen.";
  }
  transcriptPath_ = name->toStdString();
  if (firstLine_) appendTranscript(firstLine_() + "\r\n");
  return std::nullopt;
}

// The stored file when it exists; otherwise the pilot's choice, asked again
// for as long as the name is still the placeholder.
std::optional<QString> QtSessionHost::chooseTranscriptName() {
  const QString stored = qt(settings_.readString(choice_.section, choice_.key, UnknownName));
  if (!isUnknown(stored) && QFileInfo(stored).isFile()) return stored;
  QString proposal = isUnknown(stored) ? defaultDocumentsDirectory() + choice_.defaultName : stored;
  for (;;) {
    const auto chosen =
        dialogs_.saveFileName(&window_, choice_.dialogTitle, proposal, choice_.filter);
    if (!chosen) return std::nullopt;
    if (!isUnknown(*chosen)) return chosen;
    proposal = *chosen;
  }
}

void QtSessionHost::appendTranscript(std::string_view text) {
  if (!transcript_.is_open()) return;
  transcript_.write(text.data(), static_cast<std::streamsize>(text.size()));
  transcript_.flush();
}

void QtSessionHost::closeTranscript() {
  if (transcript_.is_open()) transcript_.close();
}

}  // namespace quorvanta
