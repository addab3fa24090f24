#include "app/InterfaceFont.h"

#include <QApplication>
#include <QFont>

namespace quorvanta {

void useInterfaceFont() {
  QFont font("Liberation Sans");
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(11);
  QApplication::setFont(font);
}

}  // namespace quorvanta
