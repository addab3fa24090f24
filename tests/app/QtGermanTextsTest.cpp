#include "app/QtGermanTexts.h"

#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

namespace quorvanta {
namespace {

QString buttonText(QMessageBox& box, QMessageBox::StandardButton which) {
  return box.button(which)->text().remove('&');
}

TEST(QtGermanTexts, MessageBoxButtonsSpeakGermanWhileLoadedOnly) {
  {
    const QtGermanTexts german;
    ASSERT_TRUE(german.loaded()) << "qt6-translations-l10n is missing";
    QMessageBox box(QMessageBox::Question, "Frage", "Speichern?",
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(buttonText(box, QMessageBox::Yes), "Ja");
    EXPECT_EQ(buttonText(box, QMessageBox::No), "Nein");
    EXPECT_EQ(buttonText(box, QMessageBox::Cancel), "Abbrechen");
  }
  QMessageBox box(QMessageBox::Question, "Frage", "Speichern?", QMessageBox::Yes);
  EXPECT_EQ(buttonText(box, QMessageBox::Yes), "Yes");
}

}  // namespace
}  // namespace quorvanta
