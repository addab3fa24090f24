#include <chrono>
#include <cmath>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/DownloadWindowFixture.h"
#include "app/FlytecWindow.h"
#include "app/IqWindow.h"
#include "app/MainWindow.h"
#include "devices/sim/FlytecVario.h"
#include "devices/sim/IqVario.h"
#include "devices/sim/PtyInstrument.h"

namespace quorvanta {
namespace {

using ::testing::HasSubstr;
using namespace test;
using sim::VarioFault;

// Paced like a fast line: the answers arrive in many reads.
constexpr int LineBytesPerSecond = 50000;

// A real flight without pressure altitude, and a barogram of one value a
// second from a whole minute before its first fix past its last: sample k
// reads 1000 + k metres, so a fix `s` seconds after the start gets 1000 + s.
class VariometerWindowsTest : public DownloadWindowsTest {
 protected:
  void SetUp() override {
    window.openFromCommandLine(
        QString::fromStdString(realFlight("xcscore_dup-fixes.igc").string()));
    const FlightRecord& r = window.record();
    ASSERT_GT(r.FixCount, 1000);
    ASSERT_EQ(r.MaxPressureAlt, 0);
    start = std::floor(r.FixTime[1] * 1440) / 1440 - 1.0 / 1440;
    sampleCount = static_cast<int>(secondsAfterStart(r.FixTime[r.FixCount])) + 60;
    before = altitudes();
  }

  double secondsAfterStart(double time) const { return std::round((time - start) * 86400); }
  std::vector<int> altitudes() const {
    const FlightRecord& r = window.record();
    return std::vector<int>(&r.FixAlt[1], &r.FixAlt[1] + r.FixCount);
  }
  void expectMerged() const {
    const FlightRecord& r = window.record();
    for (int i = 1; i <= r.FixCount; ++i) {
      ASSERT_EQ(r.FixAlt[i], 1000 + secondsAfterStart(r.FixTime[i])) << "fix " << i;
    }
    EXPECT_TRUE(window.menus().saveIgc->isEnabled());
  }
  void expectUnchanged() const {
    EXPECT_EQ(altitudes(), before);
    EXPECT_EQ(window.record().ExtraHeaderLine, "");
  }

  void useVario(const char* section, const std::string& path) {
    settings.writeString("Serial", "COM1", path);
    settings.writeString(section, "COM Port", "1");
  }

  sim::IqDumpContent iqFlight() const {
    const auto minutes = static_cast<int>(std::round((start - std::floor(start)) * 1440));
    const auto ymd = date();
    sim::IqDumpContent c;
    c.date = static_cast<int>(unsigned(ymd.day())) * 100 + static_cast<int>(unsigned(ymd.month()));
    c.year = static_cast<int>(ymd.year());
    c.scanSeconds = 1;
    c.start = minutes / 60 * 100 + minutes % 60;
    c.samples.clear();
    for (int k = 1; k <= sampleCount; ++k) c.samples.push_back({1000 + k, 40});
    return c;
  }

  sim::FlytecFlight flytecFlight() const {
    const auto minutes = static_cast<int>(std::round((start - std::floor(start)) * 1440));
    const auto ymd = date();
    sim::FlytecFlight f{.year = static_cast<int>(ymd.year()), .month = static_cast<int>(unsigned(ymd.month())),
                        .day = static_cast<int>(unsigned(ymd.day())), .hour = minutes / 60,
                        .minute = minutes % 60, .intervalCode = 0, .speedSensor = true, .altitudes = {}};
    for (int k = 1; k <= sampleCount; ++k) f.altitudes.push_back(1000 + k);
    return f;
  }

  std::chrono::year_month_day date() const {
    using namespace std::chrono;
    return year_month_day(sys_days(1899y / December / 30) + days(static_cast<int>(std::floor(start))));
  }

  // Opens the IQ window from the menu, has the pilot press send, waits for the
  // evaluation or a message and runs `check` on the window before "Exit".
  void runIq(VarioFault fault, const std::function<void(IqWindow&, sim::PtyInstrument&)>& check) {
    sim::IqVario vario(iqFlight(), fault);
    sim::PtyInstrument line(vario, vario.line(LineBytesPerSecond));
    useVario("BrVario", line.slavePath());
    withModalWindow([&] { window.menus().varioDownloads[0]->trigger(); }, [&](QWidget& open) {
      auto& iq = static_cast<IqWindow&>(open);
      ASSERT_TRUE(iq.port().IsOpen());
      vario.pressSend(line);
      check(iq, line);
      click(open, "Button1");
    });
  }

  void runFlytec(VarioFault fault, const std::function<void(FlytecWindow&, sim::PtyInstrument&)>& check) {
    sim::FlytecVario vario({flytecFlight()}, 3141, fault);
    sim::PtyInstrument line(vario, vario.line(LineBytesPerSecond));
    useVario("FlytecVario", line.slavePath());
    withModalWindow([&] { window.menus().varioDownloads[1]->trigger(); }, [&](QWidget& open) {
      click(open, "Button2");
      check(static_cast<FlytecWindow&>(open), line);
      click(open, "Button1");
    });
  }

  MainWindow window{dialogs};
  double start = 0;
  int sampleCount = 0;
  std::vector<int> before;
};

QString labelText(QWidget& window, const char* name) { return window.findChild<QLabel*>(name)->text(); }

TEST_F(VariometerWindowsTest, IqDumpIsMergedIntoTheLoadedFlight) {
  EXPECT_TRUE(window.menus().varioDownloads[0]->isEnabled());
  runIq(VarioFault::None, [&](IqWindow& iq, sim::PtyInstrument&) {
    EXPECT_EQ(iq.windowTitle(), "Bräuniger Vario IQ-Serie auslesen für Quorvanta   Vers. 3.2");
    ASSERT_TRUE(processUntil([&] { return labelText(iq, "Label3") == "Keine Fehler gefunden"; }));
    EXPECT_EQ(labelText(iq, "Label1").toStdString(), "Bytes übertragen: " + std::to_string(40 + 3 * sampleCount));
    EXPECT_THAT(iq.findChild<QPlainTextEdit*>("Memo1")->toPlainText().toStdString(),
                HasSubstr("Barograf Nr.: 4711\nPilot: Hans Lange\n"));
    save(iq, "iq-transfer");
  });
  expectMerged();
  EXPECT_EQ(window.record().ExtraHeaderLine, "HFPRSPRESSUREALTSENSOR: Bräuniger IQ-Serie, S/N 4711");
}

TEST_F(VariometerWindowsTest, FlytecFlightIsMergedIntoTheLoadedFlight) {
  runFlytec(VarioFault::None, [&](FlytecWindow& flytec, sim::PtyInstrument&) {
    EXPECT_EQ(flytec.windowTitle(), "Flytec Vario 40XX auslesen für Quorvanta   Vers. 3.2");
    ASSERT_TRUE(processUntil([&] { return flytec.session().dataReady(); }));
    auto* flights = flytec.findChild<QListWidget*>("CheckListBox1");
    ASSERT_EQ(flights->count(), 1);
    emit flights->itemClicked(flights->item(0));
    EXPECT_EQ(flights->item(0)->checkState(), Qt::Checked);
    click(flytec, "Button3");
    EXPECT_THAT(labelText(flytec, "Label3").toStdString(), HasSubstr("Das Barogramm steht jetzt"));
    save(flytec, "flytec-transfer");
  });
  expectMerged();
  EXPECT_EQ(window.record().ExtraHeaderLine, "HFPRSPRESSUREALTSENSOR: Flytec 40XX, S/N 3141");
}

// Each failure shows its text, merges nothing and leaves the window usable.
TEST_F(VariometerWindowsTest, IqFailuresMergeNothing) {
  const struct {
    VarioFault fault;
    const char* label3;  // empty: the port's message instead
  } cases[] = {
      {VarioFault::Pause, "Übertragungsfehler ,bitte wiederholen!!!"},
      {VarioFault::WrongLength, "Übertragungsfehler ,bitte wiederholen!!!"},
      {VarioFault::Vanish, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.fault));
    dialogs.asked.clear();
    runIq(c.fault, [&](IqWindow& iq, sim::PtyInstrument& line) {
      if (*c.label3) {
        ASSERT_TRUE(processUntil([&] { return labelText(iq, "Label3") == c.label3; }));
      } else {
        ASSERT_TRUE(processUntil([&] { return !dialogs.asked.empty(); }));
        EXPECT_THAT(dialogs.asked.back().text.toStdString(), HasSubstr(line.slavePath()));
      }
      EXPECT_TRUE(iq.findChild<QComboBox*>("ComboBoxCom")->isEnabled());
    });
    expectUnchanged();
  }
  runIq(VarioFault::Silent, [&](IqWindow& iq, sim::PtyInstrument&) {
    QTest::qWait(700);
    EXPECT_EQ(labelText(iq, "Label1"), "");
    EXPECT_TRUE(iq.findChild<QCheckBox*>("CheckBox1")->isVisible());
  });
  expectUnchanged();
}

TEST_F(VariometerWindowsTest, FlytecFailuresMergeNothing) {
  const struct {
    VarioFault fault;
    const char* status;
    bool portMessage;
  } cases[] = {
      {VarioFault::Silent, "Flytec 40XX antwortet nicht!", false},
      {VarioFault::Pause, "Übertragungsfehler!", false},
      {VarioFault::WrongLength, "Übertragungsfehler!", false},
      {VarioFault::Vanish, "Flytec 40XX antwortet nicht!", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.status);
    dialogs.asked.clear();
    runFlytec(c.fault, [&](FlytecWindow& flytec, sim::PtyInstrument& line) {
      ASSERT_TRUE(processUntil([&] { return labelText(flytec, "Label1") == c.status; }));
      EXPECT_FALSE(flytec.session().dataReady());
      if (c.portMessage) {
        ASSERT_FALSE(dialogs.asked.empty());
        EXPECT_THAT(dialogs.asked.back().text.toStdString(), HasSubstr(line.slavePath()));
      }
      if (c.fault == VarioFault::Pause) save(flytec, "flytec-transmission-error");
    });
    expectUnchanged();
  }
}

}  // namespace
}  // namespace quorvanta
