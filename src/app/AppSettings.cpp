#include "app/AppSettings.h"

#include <QStandardPaths>

#include "app/QtText.h"

namespace quorvanta {

AppSettings::AppSettings()
    : settings_(QSettings::IniFormat, QSettings::UserScope, "Quorvanta", "Quorvanta") {}

QString AppSettings::groupFor(std::string_view section) const {
  const QString wanted = qt(section);
  for (const QString& group : settings_.childGroups()) {
    if (group.compare(wanted, Qt::CaseInsensitive) == 0) return group;
  }
  return wanted;
}

std::string AppSettings::readString(std::string_view section, std::string_view key,
                                    std::string_view fallback) const {
  settings_.beginGroup(groupFor(section));
  const QVariant value = settings_.value(qt(key));
  settings_.endGroup();
  return value.isValid() ? value.toString().toStdString() : std::string(fallback);
}

void AppSettings::writeString(std::string_view section, std::string_view key,
                              std::string_view value) {
  settings_.beginGroup(groupFor(section));
  settings_.setValue(qt(key), qt(value));
  settings_.endGroup();
  settings_.sync();
}

QString defaultDocumentsDirectory() {
  QString directory = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (directory.isEmpty()) directory = QString::fromStdString(homeDirectory());
  if (!directory.endsWith('/')) directory += '/';
  return directory;
}

}  // namespace quorvanta
