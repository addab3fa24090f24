#include "app/QtGermanTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace quorvanta {

QtGermanTexts::QtGermanTexts() {
  loaded_ = translator_.load(QLocale(QLocale::German, QLocale::Germany), "qtbase", "_",
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
            QCoreApplication::installTranslator(&translator_);
}

QtGermanTexts::~QtGermanTexts() {
  if (loaded_) QCoreApplication::removeTranslator(&translator_);
}

}  // namespace quorvanta
