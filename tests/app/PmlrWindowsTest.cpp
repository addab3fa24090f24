#include <algorithm>
#include <chrono>
#include <ctime>
#include <cmath>
#include <iostream>
#include <memory>
#include <set>

#include <QCheckBox>
#include <QDateEdit>
#include <QListView>
#include <QRadioButton>
#include <QTimeEdit>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/DownloadWindowFixture.h"
#include "app/MainWindow.h"
#include "app/MlrWindow.h"
#include "app/RenschlerWindow.h"
#include "devices/pmlr/PmlrRecords.h"
#include "devices/port/CommTypes.h"
#include "devices/sim/PmlrUnit.h"
#include "devices/sim/PtyInstrument.h"
#include "flight/DayCount.h"
#include "flight/FileContent.h"
#include "flight/GRecord.h"
#include "flight/Geodesy.h"
#include "support/PlausibleHeader.h"

namespace quorvanta {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;
using namespace test;
using Model = sim::PmlrUnit::Model;

const char* const Flight = "xcscore_tri.igc";
const char* const TransferError = "Es ist Übertragungsfehler aufgetreten. Bitte nochmals auslesen!";

// What differs between the three instruments in these tests.
struct Instrument {
  const char* name;  // also the screenshots' prefix
  Model model;
  std::size_t menuItem;  // in "Gerät auslesen"
  const char* section;
  const char* speedKey;  // the stored speed choice, its index and the speed it asks for
  const char* speedIndex;
  int speed;
  const char* aRecordPrefix;
  const char* noAnswer;
  int answerWaitSeconds;  // the silence after which the window gives up
  std::set<int> damagedOnFirstTransfer;  // a Log_it! fetches them again by itself
  const char* damagedEndText;
  bool damagedEndTolerated;
};

void PrintTo(const Instrument& instrument, std::ostream* out) { *out << instrument.name; }

const Instrument Instruments[] = {
    {"mlr", Model::Mlr, 1, "MLR", "COM Speed MLR", "1", 38400, "AMLR ",
     "MLR bzw. Log_it! antwortet nicht!!!", 2, {}, "Checksummenfehler", false},
    {"logit", Model::LogIt, 1, "MLR", "COM Speed Log_it", "3", 57600, "ARUA ",
     "MLR bzw. Log_it! antwortet nicht!!!", 2, {5, 60}, "Checksummenfehler", false},
    {"renschler", Model::Renschler, 2, "Renschler", "COM Speed Renschler", "1", 38400, "AREN ",
     "Renschler-Gerät antwortet nicht!!!", 11, {}, "Checksumme unvollständig, Fehler ignoriert", true},
};

// The simulated instrument on a pseudo-terminal, the real port layer and the
// window driven through its buttons.
class PmlrWindowsTest : public DownloadWindowsTest, public ::testing::WithParamInterface<Instrument> {
 protected:
  void plugIn(std::size_t pointCount = 0, sim::PmlrFaults faults = {},
              sim::PtyInstrument::Options options = {}) {
    const Instrument& is = GetParam();
    unit = std::make_unique<sim::PmlrUnit>(is.model, sim::pmlrFlightPoints(realFlight(Flight), pointCount),
                                           std::move(faults));
    instrument = std::make_unique<sim::PtyInstrument>(*unit, options);
    settings.writeString("Serial", "COM1", instrument->slavePath());
    settings.writeString(is.section, "COM Port", "1");
    settings.writeString(is.section, is.speedKey, is.speedIndex);
    settings.writeString(is.section, GetParam().model == Model::Renschler ? "Filename Renschler" : "Filename MLR",
                         logPath);
    dialogs.headerAnswers = {plausibleHeader(scratch.path())};
  }

  // The A record repeats the identification without the blank before its checksum.
  std::string aRecord() const {
    std::string id = unit->identificationText();
    while (id.ends_with(' ')) id.pop_back();
    return GetParam().aRecordPrefix + id;
  }

  std::unique_ptr<PmlrWindow> openWindow() {
    std::unique_ptr<PmlrWindow> window;
    if (GetParam().model == Model::Renschler) {
      window = std::make_unique<RenschlerWindow>(record, settings, dialogs);
    } else {
      window = std::make_unique<MlrWindow>(record, settings, dialogs);
    }
    window->show();
    return window;
  }

  // "S-Nr. auslesen", then "Track auslesen" once it shows.
  void requestTrack(PmlrWindow& window) {
    click(window, "ButtonSN");
    ASSERT_TRUE(processUntil([&] { return shown(window, "ButtonStart"); }));
    EXPECT_EQ(window.session().aRecord(), aRecord());
    click(window, "ButtonStart");
  }

  void readTrack(PmlrWindow& window) {
    ASSERT_NO_FATAL_FAILURE(requestTrack(window));
    ASSERT_TRUE(processUntil([&] { return window.session().evaluated(); }, 30));
  }

  void expectNoFile() {
    EXPECT_FALSE(record.DownloadDone);
    expectNoIgcFile();
  }

  // The window still answers: a second transfer, now without faults, comes whole.
  void expectUsable(PmlrWindow& window) {
    ASSERT_TRUE(processUntil([&] { return shown(window, "ButtonStart"); }));
    click(window, "ButtonStart");
    ASSERT_TRUE(processUntil([&] { return window.session().evaluated(); }, 30));
    EXPECT_TRUE(window.session().trackComplete());
    EXPECT_TRUE(shown(window, "ButtonAuswertung"));
  }

  const std::string logPath = scratch.write("pmlr-log.txt", "old");
  FlightRecord record;
  std::unique_ptr<sim::PmlrUnit> unit;
  std::unique_ptr<sim::PtyInstrument> instrument;
};

TEST_P(PmlrWindowsTest, TrackIsWrittenSignedAndLoadedByTheMainWindow) {
  sim::PmlrFaults faults;
  faults.damaged = GetParam().damagedOnFirstTransfer;
  plugIn(0, faults);
  MainWindow main(dialogs);
  main.show();
  QAction* command = main.menus().downloads[GetParam().menuItem];
  ASSERT_TRUE(command->isEnabled());
  std::string written;
  withModalWindow([&] { command->trigger(); },
                  [&](QWidget& open) {
                    auto& window = static_cast<PmlrWindow&>(open);
                    readTrack(window);
                    EXPECT_TRUE(window.session().trackComplete());
                    EXPECT_EQ(unit->trackRequests(), faults.damaged.empty() ? 1 : 2);
                    EXPECT_EQ(unit->lastRequestedSpeed(), GetParam().speed);
                    click(window, "ButtonAuswertung");
                    auto* list = window.findChild<QListView*>("CheckListBoxPunkte");
                    EXPECT_EQ(list->model()->rowCount(), static_cast<int>(unit->points().size()));
                    save(window, std::string(GetParam().name) + "-point-list");
                    click(window, "ButtonFertig");
                    written = text(window, "Label1");
                  });
  EXPECT_EQ(dialogs.asked.front().text.contains("falsche Checksummen"), GetParam().model == Model::Renschler);
  const auto& points = unit->points();
  ASSERT_EQ(main.record().FixCount, static_cast<int>(points.size()));
  const FlightRecord& loaded = main.record();
  for (const int k : {1, static_cast<int>(points.size())}) {
    const sim::PmlrPoint& p = points[static_cast<std::size_t>(k - 1)];
    EXPECT_NEAR(loaded.FixTime[k], pmlr::InstrumentEpoch + p.seconds / 86400.0, 0.5 / 86400) << k;
    EXPECT_NEAR(loaded.FixLat[k], p.latDeg * DegToRad, 1e-6) << k;
    EXPECT_NEAR(loaded.FixLon[k], p.lonDeg * DegToRad, 1e-6) << k;
  }
  const std::string status = "igc-File geschrieben (signiert) ";
  ASSERT_THAT(written, StartsWith(status));
  const std::string file = fileContent(written.substr(status.size()));
  EXPECT_EQ(verifyGRecord(file), GRecordCheck::Valid);
  EXPECT_THAT(file, StartsWith(aRecord() + "\r\n"));
  EXPECT_FALSE(command->isEnabled());
}

// One hour of the flight by the time window: the ticks and the file follow it.
TEST_P(PmlrWindowsTest, TimeWindowChoosesThePointsWritten) {
  plugIn();
  auto window = openWindow();
  readTrack(*window);
  click(*window, "ButtonAuswertung");
  click(*window, "ButtonTime");
  const sim::PmlrPoint& first = unit->points().front();
  const double start = pmlr::InstrumentEpoch + first.seconds / 86400.0;
  const DateTimeParts day = dateTimeParts(start);
  window->findChild<QDateEdit*>("DateTimePicker3")->setDate(QDate(day.year, day.month, day.day));
  const QTime from(12, 30, 0);
  window->findChild<QTimeEdit*>("DateTimePicker1")->setTime(from);
  window->findChild<QTimeEdit*>("DateTimePicker2")->setTime(from.addSecs(3600));
  const double dayStart = std::floor(start);
  std::size_t inside = 0;
  for (const sim::PmlrPoint& p : unit->points()) {
    const double seconds = (pmlr::InstrumentEpoch + p.seconds / 86400.0 - dayStart) * 86400;
    inside += std::lround(seconds) > 12 * 3600 + 1800 && std::lround(seconds) <= 13 * 3600 + 1800;
  }
  ASSERT_GT(inside, 0U);
  ASSERT_LT(inside, unit->points().size());
  const std::vector<bool>& ticks = window->session().view().pointTicked;
  EXPECT_EQ(static_cast<std::size_t>(std::count(ticks.begin(), ticks.end(), true)), inside);
  auto* list = window->findChild<QListView*>("CheckListBoxPunkte");
  const int firstTicked = static_cast<int>(std::find(ticks.begin(), ticks.end(), true) - ticks.begin());
  EXPECT_EQ(list->model()->index(firstTicked, 0).data(Qt::CheckStateRole).toInt(), Qt::Checked);
  EXPECT_EQ(list->model()->index(0, 0).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
  EXPECT_TRUE(shown(*window, "Memo3"));
  list->scrollTo(list->model()->index(firstTicked, 0), QAbstractItemView::PositionAtTop);
  save(*window, std::string(GetParam().name) + "-time-window");
  // The pilot unticks one more point by hand.
  list->model()->setData(list->model()->index(firstTicked, 0), Qt::Unchecked, Qt::CheckStateRole);
  click(*window, "ButtonFertig");
  ASSERT_TRUE(record.DownloadDone);
  const std::string file = fileContent(record.DownloadedFile);
  std::size_t fixes = 0;
  for (std::size_t at = 0; (at = file.find("\r\nB", at)) != std::string::npos; ++at) ++fixes;
  EXPECT_EQ(fixes, inside - 1);
  EXPECT_EQ(verifyGRecord(file), GRecordCheck::Valid);
}

// The identification decides the speeds offered and whether the track
// memory can be erased, which only a confirmed question does.
TEST_P(PmlrWindowsTest, IdentificationOffersTheModelsSpeedsAndErasing) {
  plugIn(200);
  auto window = openWindow();
  EXPECT_EQ(window->findChild<QCheckBox*>("ShowRx")->isChecked(), GetParam().model == Model::Renschler);
  window->findChild<QRadioButton*>("RadioButton3")->click();
  EXPECT_EQ(settings.readString(GetParam().section, "COM Port", ""), "3");
  window->findChild<QRadioButton*>("RadioButton1")->click();
  EXPECT_EQ(window->port().PortNum(), 1);
  click(*window, "ButtonSN");
  ASSERT_TRUE(processUntil([&] { return shown(*window, "ButtonStart"); }));
  const bool logIt = GetParam().model == Model::LogIt;
  EXPECT_EQ(shown(*window, "RadioGroup1"), !logIt);
  EXPECT_EQ(shown(*window, "RadioGroup2"), logIt);
  save(*window, std::string(GetParam().name) + "-identified");
  click(*window, "ButtonStart");
  ASSERT_TRUE(processUntil([&] { return window->session().evaluated(); }));
  EXPECT_EQ(shown(*window, "ButtonErase"), logIt);
  if (!logIt) return;
  dialogs.questionAnswers = {false, true};
  const auto erases = [&] {
    const auto sent = unit->commands();
    return std::count(sent.begin(), sent.end(), "$PMLR,99,00,02B5");
  };
  click(*window, "ButtonErase");
  click(*window, "ButtonErase");
  ASSERT_TRUE(processUntil([&] { return erases() == 1; }));
  EXPECT_EQ(dialogs.asked.front().title.toStdString(), "Löschen bestätigen");
  EXPECT_EQ(dialogs.asked.size(), 2U);
}

TEST_P(PmlrWindowsTest, SilentInstrumentSaysSoAndLeavesAUsableWindow) {
  sim::PmlrFaults faults;
  faults.silent = true;
  plugIn(200, faults);
  auto window = openWindow();
  click(*window, "ButtonSN");
  ASSERT_TRUE(processUntil([&] { return shown(*window, "ButtonSN"); }, GetParam().answerWaitSeconds + 2));
  EXPECT_EQ(text(*window, "Memo1"), std::string(GetParam().noAnswer) + "\n");
  EXPECT_FALSE(shown(*window, "ButtonStart"));
  EXPECT_FALSE(shown(*window, "ComAbbruch"));
  EXPECT_THAT(unit->commands(), ::testing::Contains("$PMLR,26,01,01,0339"));
  window->port().OnError(lineFraming);  // a line error goes to Memo1 as well
  EXPECT_THAT(text(*window, "Memo1"), HasSubstr(lineErrorLines(lineFraming).front()));
  expectNoFile();
  click(*window, "OKButton");
  EXPECT_THAT(fileContent(logPath), HasSubstr(GetParam().noAnswer));
}

// The instrument stalls longer than the silence that ends a transfer: the
// part is evaluated as incomplete, and the next transfer fills the gaps.
TEST_P(PmlrWindowsTest, PauseMidTrackGivesTheTransferErrorThenTheWholeTrack) {
  sim::PtyInstrument::Options pause;
  pause.pauseAfterBytes = 20000;
  pause.pauseFor = std::chrono::milliseconds(2500);
  plugIn(0, {}, pause);
  auto window = openWindow();
  readTrack(*window);
  EXPECT_FALSE(window->session().trackComplete());
  EXPECT_EQ(text(*window, "Label2"), TransferError);
  EXPECT_FALSE(shown(*window, "ButtonAuswertung"));
  const std::size_t wholeAnswer =
      sim::identificationLine(unit->identificationText()).size() + sim::stream(unit->records()).size();
  ASSERT_TRUE(processUntil([&] { return instrument->bytesToHost() >= wholeAnswer; }, 10));
  processUntil([] { return false; }, 1);  // the pilot reads the message; the rest of the answer runs out
  expectUsable(*window);
  expectNoFile();
}

TEST_P(PmlrWindowsTest, VanishedInstrumentGivesAMessageAndTheButtonsBack) {
  sim::PmlrFaults faults;
  faults.unplugAfterBytes = 15000;
  plugIn(0, faults);
  auto window = openWindow();
  requestTrack(*window);
  ASSERT_TRUE(processUntil([&] { return !dialogs.asked.empty(); }));
  EXPECT_THAT(dialogs.asked.back().text.toStdString(), HasSubstr(instrument->slavePath()));
  ASSERT_TRUE(processUntil([&] { return !window->port().IsOpen(); }));
  EXPECT_TRUE(shown(*window, "RadioButton1"));
  EXPECT_TRUE(shown(*window, "ButtonSN"));
  EXPECT_FALSE(shown(*window, "ComAbbruch"));
  expectNoFile();
}

TEST_P(PmlrWindowsTest, DamagedEndRecordIsReportedAsThePartSays) {
  const std::size_t points = 400;
  sim::PmlrFaults faults;
  faults.damaged = {static_cast<int>(points / sim::PmlrUnit::DefaultPointsPerRecord) + 2};
  plugIn(points, faults);
  ASSERT_EQ(*faults.damaged.begin(), unit->endRecordNumber());
  auto window = openWindow();
  readTrack(*window);
  // The Renschler takes the track as it is; the others want it again.
  const bool tolerated = GetParam().damagedEndTolerated;
  EXPECT_EQ(window->session().trackComplete(), tolerated);
  EXPECT_EQ(shown(*window, "ButtonAuswertung"), tolerated);
  EXPECT_EQ(text(*window, "Label2") == TransferError, !tolerated);
  if (!tolerated) expectUsable(*window);
  click(*window, "OKButton");
  EXPECT_THAT(fileContent(logPath), HasSubstr(std::string(GetParam().damagedEndText) + "\r\n"));
  expectNoFile();
}

INSTANTIATE_TEST_SUITE_P(Instruments, PmlrWindowsTest, ::testing::ValuesIn(Instruments),
                         [](const auto& info) { return std::string(info.param.name); });

// A long track: every point reaches the list. The times from "igc-File
// speichern" to the list on screen and of scrolling to its end are printed
// as a measurement, not checked: a timed test would fail on a loaded machine.
using PmlrLongTrackTest = PmlrWindowsTest;

TEST_P(PmlrLongTrackTest, PointListOfThirtyThousandPointsShowsAtOnce) {
  const std::size_t points = 30000;
  plugIn(points);
  auto window = openWindow();
  using Clock = std::chrono::steady_clock;
  requestTrack(*window);
  const auto requested = Clock::now();
  const std::clock_t cpuBefore = std::clock();
  ASSERT_TRUE(processUntil([&] { return window->session().trackComplete(); }, 30));
  const auto transferred = Clock::now();
  const double cpuMs = 1000.0 * static_cast<double>(std::clock() - cpuBefore) / CLOCKS_PER_SEC;
  ASSERT_TRUE(processUntil([&] { return window->session().evaluated(); }));
  ASSERT_EQ(window->session().store().pointCount(), static_cast<int>(points));
  const auto clicked = Clock::now();
  click(*window, "ButtonAuswertung");
  auto* list = window->findChild<QListView*>("CheckListBoxPunkte");
  list->repaint();  // painted now, not at the next turn of the event loop
  const auto onScreen = Clock::now();
  list->scrollToBottom();
  list->repaint();
  const auto scrolled = Clock::now();
  ASSERT_TRUE(list->isVisible());
  EXPECT_EQ(list->model()->rowCount(), static_cast<int>(points));
  const auto ms = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
  std::cout << "[ measured ] " << points << " points, " << unit->endRecordNumber() << " records unpaced: transfer "
            << ms(transferred - requested) << " ms, process CPU " << cpuMs
            << " ms (simulator included), \"igc-File speichern\" to the list on screen "
            << ms(onScreen - clicked) << " ms, scrolling to its end " << ms(scrolled - onScreen) << " ms\n";
}

INSTANTIATE_TEST_SUITE_P(Mlr, PmlrLongTrackTest, ::testing::Values(Instruments[0]),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quorvanta
