#include <memory>

#include <QApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include "flight/NumberText.h"

namespace {

// The application object lives for the whole run, created only when tests
// run (listing them needs no display).
class QtEnvironment : public ::testing::Environment {
 public:
  QtEnvironment(int& argc, char** argv) : argc_(argc), argv_(argv) {}
  void SetUp() override {
    QStandardPaths::setTestModeEnabled(true);
    application_ = std::make_unique<QApplication>(argc_, argv_);
    quorvanta::setDecimalSeparator(',');
  }
  void TearDown() override { application_.reset(); }

 private:
  int& argc_;
  char** argv_;
  std::unique_ptr<QApplication> application_;
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new QtEnvironment(argc, argv));
  return RUN_ALL_TESTS();
}
