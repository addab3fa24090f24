#include <memory>

#include <QSettings>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include "app/GuardedApplication.h"
#include "app/InterfaceFont.h"
#include "flight/NumberText.h"
#include "support/TestFiles.h"

namespace {

// The application object lives for the whole run, created only when tests
// run (listing them needs no display).
class QtEnvironment : public ::testing::Environment {
 public:
  QtEnvironment(int& argc, char** argv) : argc_(argc), argv_(argv) {}
  void SetUp() override {
    QStandardPaths::setTestModeEnabled(true);
    // CTest runs test processes side by side: each gets its own settings.
    settingsDir_ = std::make_unique<quorvanta::test::ScratchDir>();
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       QString::fromStdString(settingsDir_->path().string()));
    application_ = std::make_unique<quorvanta::GuardedApplication>(argc_, argv_);
    quorvanta::useInterfaceFont();
    quorvanta::setDecimalSeparator(',');
  }
  void TearDown() override {
    application_.reset();
    settingsDir_.reset();
  }

 private:
  int& argc_;
  char** argv_;
  std::unique_ptr<quorvanta::test::ScratchDir> settingsDir_;
  std::unique_ptr<QApplication> application_;
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new QtEnvironment(argc, argv));
  return RUN_ALL_TESTS();
}
