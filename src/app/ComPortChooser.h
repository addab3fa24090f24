#pragma once

#include <string>

#include <QComboBox>

#include "flight/FieldText.h"
#include "flight/SettingsStore.h"

namespace quorvanta {

inline constexpr int ComPorts = 8;

// The "COM Port" a window stored in its section: 1 .. 8, anything else counts as 1.
inline int storedComPort(const SettingsStore& settings, const char* section) {
  const auto number = integerField(settings.readString(section, "COM Port", "1"));
  return number && *number >= 1 && *number <= ComPorts ? *number : 1;
}

inline void storeComPort(SettingsStore& settings, const char* section, int number) {
  settings.writeString(section, "COM Port", std::to_string(number));
}

// "COM 1" .. "COM 8" with port `selected` chosen.
inline QComboBox* comPortChooser(QWidget* parent, int selected) {
  auto* chooser = new QComboBox(parent);
  chooser->setObjectName("ComboBoxCom");
  for (int n = 1; n <= ComPorts; ++n) chooser->addItem(QString("COM %1").arg(n));
  chooser->setCurrentIndex(selected - 1);
  return chooser;
}

}  // namespace quorvanta
