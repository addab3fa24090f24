#include "app/IgcHeaderDialog.h"

#include <filesystem>

#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/AppSettings.h"
#include "app/FakeDialogs.h"
#include "app/FreshSettings.h"
#include "app/RoomForTexts.h"
#include "app/Screenshot.h"
#include "support/PlausibleHeader.h"
#include "support/TestFiles.h"

namespace quorvanta {
namespace {

const QColor Red(255, 0, 0);

class IgcHeaderDialogTest : public ::testing::Test {
 protected:
  // Every value plausible, the directory the scratch folder.
  void storePlausibleValues() {
    IgcHeaderValues values = test::plausibleHeader(scratch.path());
    values.competitionClass = "Paraglider Tandem";
    saveIgcHeader(settings, values, false);
  }

  std::unique_ptr<IgcHeaderDialog> open(bool fromFlightRecorder = false) {
    auto dialog = std::make_unique<IgcHeaderDialog>(settings, dialogs, fromFlightRecorder);
    dialog->show();
    return dialog;
  }

  static bool red(QLabel* label) { return label->palette().color(QPalette::WindowText) == Red; }
  static QWidget* child(QWidget& parent, const char* name) {
    return parent.findChild<QWidget*>(name);
  }
  static QPushButton* button(QWidget& parent, const QString& caption) {
    for (auto* candidate : parent.findChildren<QPushButton*>()) {
      if (candidate->text() == caption) return candidate;
    }
    return nullptr;
  }

  test::ScratchDir scratch;
  test::FreshSettings freshSettings;
  test::FakeDialogs dialogs;
  AppSettings settings;
};

TEST_F(IgcHeaderDialogTest, FreshSettingsShowRedLabelsAndNoSaveButton) {
  const auto dialog = open();
  EXPECT_EQ(dialog->windowTitle().toStdString(), "Quorvanta: weitere Angaben zum IGC-File");
  EXPECT_EQ(dialog->fieldLabel(1)->text().toStdString(), "Pilot");
  EXPECT_EQ(dialog->fieldLabel(5)->text().toStdString(), "Site (Fluggelände)");
  EXPECT_EQ(dialog->field(6)->text().toStdString(), "DHV-OLC-2003");
  EXPECT_EQ(dialog->field(4)->text().toStdString(), "Paraglider open");
  EXPECT_TRUE(red(dialog->fieldLabel(1)));
  EXPECT_TRUE(red(dialog->fieldLabel(7)));
  EXPECT_FALSE(red(dialog->fieldLabel(4)));
  EXPECT_FALSE(red(dialog->fieldLabel(6)));
  EXPECT_FALSE(child(*dialog, "Speichern")->isVisible());
  auto* saveHint = dialog->findChild<QPlainTextEdit*>("Memo2");
  EXPECT_EQ(saveHint->palette().color(QPalette::Text), Red);
  EXPECT_TRUE(saveHint->toPlainText().startsWith("Erst wenn hier alles plausibel eingegeben ist"));
  EXPECT_EQ(dialog->findChild<QPlainTextEdit*>("Memo1")->toPlainText().toStdString(),
            "Hier bitte exakt 4 Buchstaben wählen, die an \nden Pilotennamen erinnern sollten.");
  EXPECT_FALSE(child(*dialog, "Memo3")->isVisible());
  EXPECT_FALSE(dialog->saveConfirmed());
}

TEST_F(IgcHeaderDialogTest, PilotIdStopsAtTheFirstCharacterThatIsNoLetter) {
  storePlausibleValues();
  const auto dialog = open();
  ASSERT_TRUE(child(*dialog, "Speichern")->isVisible());
  dialog->field(7)->clear();
  QTest::keyClicks(dialog->field(7), "Ab1x");
  EXPECT_EQ(dialog->values().pilotId, "Ab");
  EXPECT_TRUE(red(dialog->fieldLabel(7)));
  EXPECT_FALSE(child(*dialog, "Speichern")->isVisible());
  dialog->field(7)->clear();
  QTest::keyClicks(dialog->field(7), "AbcDe");  // the field takes four
  EXPECT_EQ(dialog->field(7)->text().toStdString(), "AbcD");
  EXPECT_EQ(dialog->values().pilotId, "AbcD");
  EXPECT_FALSE(red(dialog->fieldLabel(7)));
  EXPECT_TRUE(child(*dialog, "Speichern")->isVisible());
  EXPECT_NE(dialog->findChild<QPlainTextEdit*>("Memo2")->palette().color(QPalette::Text), Red);
}

TEST_F(IgcHeaderDialogTest, ClassStartsAtTheStoredOneAndWrapsRound) {
  storePlausibleValues();
  auto dialog = open();
  EXPECT_EQ(dialog->classPosition(), 6);
  EXPECT_EQ(dialog->field(4)->text().toStdString(), "Paraglider Tandem");
  QTest::mouseClick(dialog->findChild<QToolButton*>("UpDown1Up"), Qt::LeftButton);
  EXPECT_EQ(dialog->classPosition(), 1);
  EXPECT_EQ(dialog->field(4)->text().toStdString(), "Paraglider open");
  EXPECT_EQ(dialog->values().competitionClass, "Paraglider open");
  QTest::mouseClick(dialog->findChild<QToolButton*>("UpDown1Down"), Qt::LeftButton);
  EXPECT_EQ(dialog->classPosition(), 6);

  settings.writeString("IGC", "CLASS", "Hängegleiter");
  dialog = open();
  EXPECT_EQ(dialog->classPosition(), 1);
  EXPECT_EQ(dialog->field(4)->text().toStdString(), "Paraglider open");
}

TEST_F(IgcHeaderDialogTest, SavingConfirmsTheValuesAsTyped) {
  storePlausibleValues();
  const auto dialog = open();
  dialog->field(5)->setText("Hohe Rhön");
  QTest::mouseClick(button(*dialog, "IGC File speichern"), Qt::LeftButton);
  EXPECT_TRUE(dialog->saveConfirmed());
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(dialog->values().site, "Hohe Rhön");
  EXPECT_EQ(dialog->values().directory, scratch.path().string() + "/");
  // Not stored: next time the old site is proposed again.
  EXPECT_EQ(readIgcHeader(settings).site, "Wasserkuppe");
}

TEST_F(IgcHeaderDialogTest, CancelLeavesSaveUnconfirmed) {
  storePlausibleValues();
  const auto dialog = open();
  QTest::mouseClick(button(*dialog, "Abbrechen"), Qt::LeftButton);
  EXPECT_FALSE(dialog->saveConfirmed());
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
}

TEST_F(IgcHeaderDialogTest, SavedConfigurationIsProposedNextTime) {
  const auto dialog = open();
  dialog->field(1)->setText("Otto Lilienthal");
  dialog->field(7)->setText("OTLI");
  QTest::mouseClick(button(*dialog, "Konfiguration speichern"), Qt::LeftButton);
  EXPECT_TRUE(dialog->isVisible());
  const auto again = open();
  EXPECT_EQ(again->field(1)->text().toStdString(), "Otto Lilienthal");
  EXPECT_EQ(again->field(7)->text().toStdString(), "OTLI");
  EXPECT_EQ(readIgcHeader(settings).competitionClass, "Paraglider open");
}

TEST_F(IgcHeaderDialogTest, FlightRecorderNeedsNoPilotAndKeepsTheStoredOne) {
  storePlausibleValues();
  settings.writeString("IGC", "PILOT", "");
  settings.writeString("IGC", "GLIDERTYPE", "");
  const auto dialog = open(true);
  EXPECT_FALSE(dialog->field(1)->isVisible());
  EXPECT_FALSE(dialog->fieldLabel(3)->isVisible());
  EXPECT_TRUE(child(*dialog, "Memo3")->isVisible());
  EXPECT_TRUE(child(*dialog, "Speichern")->isVisible());

  dialog->field(1)->setText("Jemand anderes");
  dialog->field(5)->setText("Brauneck");
  QTest::mouseClick(button(*dialog, "Konfiguration speichern"), Qt::LeftButton);
  const IgcHeaderValues stored = readIgcHeader(settings);
  EXPECT_EQ(stored.pilot, "");
  EXPECT_EQ(stored.gliderType, "");
  EXPECT_EQ(stored.gliderId, "4711");
  EXPECT_EQ(stored.site, "Brauneck");
}

TEST_F(IgcHeaderDialogTest, DirectoryFieldAndBrowsing) {
  storePlausibleValues();
  const auto dialog = open();
  const std::filesystem::path inner = scratch.path() / "flights";
  std::filesystem::create_directories(inner);

  // An existing directory without the closing "/" passes; the value is its parent.
  dialog->field(8)->setText(QString::fromStdString(inner.string()));
  EXPECT_FALSE(red(dialog->fieldLabel(8)));
  EXPECT_EQ(dialog->values().directory, scratch.path().string() + "/");
  dialog->field(8)->setText(QString::fromStdString((scratch.path() / "missing").string()));
  EXPECT_TRUE(red(dialog->fieldLabel(8)));
  EXPECT_FALSE(child(*dialog, "Speichern")->isVisible());

  dialogs.fileAnswers = {QString::fromStdString(inner.string())};
  QTest::mouseClick(button(*dialog, "Durchsuchen"), Qt::LeftButton);
  EXPECT_EQ(dialogs.fileDialogStarts.back().toStdString(), scratch.path().string() + "/");
  EXPECT_EQ(dialog->field(8)->text().toStdString(), inner.string() + "/");
  EXPECT_EQ(dialog->values().directory, inner.string() + "/");
  EXPECT_TRUE(child(*dialog, "Speichern")->isVisible());

  QTest::mouseClick(button(*dialog, "Durchsuchen"), Qt::LeftButton);  // cancelled
  EXPECT_EQ(dialog->field(8)->text().toStdString(), inner.string() + "/");
}

TEST_F(IgcHeaderDialogTest, Screenshots) {
  storePlausibleValues();
  auto dialog = open();
  EXPECT_THAT(test::crampedTexts(*dialog), ::testing::IsEmpty());
  ASSERT_TRUE(test::saveScreenshot(*dialog, "igc-header"));
  dialog->field(7)->setText("Ab1x");
  ASSERT_TRUE(test::saveScreenshot(*dialog, "igc-header-red"));
  dialog = open(true);
  EXPECT_THAT(test::crampedTexts(*dialog), ::testing::IsEmpty());
  ASSERT_TRUE(test::saveScreenshot(*dialog, "igc-header-flight-recorder"));
}

}  // namespace
}  // namespace quorvanta
