#include "devices/sim/PmlrUnit.h"

#include <gtest/gtest.h>

#include "support/TestFiles.h"

namespace quorvanta::sim {
namespace {

const std::string TrackRequest = "$PMLR,24,02,0101,0399\r\n";

TEST(PmlrFlightPoints, TakesTheBRecordsAsTheInstrumentCountsThem) {
  const auto points = pmlrFlightPoints(test::realFlight("xcscore_tri.igc"));
  ASSERT_EQ(points.size(), 4514u);
  // B1157274518412N00553275EA0092300923 of 15 June 2019
  EXPECT_EQ(points[0].seconds, 1244635047u);
  EXPECT_NEAR(points[0].latDeg, 45 + 18.412 / 60, 1e-9);
  EXPECT_NEAR(points[0].lonDeg, 5 + 53.275 / 60, 1e-9);
  EXPECT_EQ(points[0].altDm / 10, 923u);
  EXPECT_EQ(points[0].status, 0x81);  // eight satellites, the recording starts
  EXPECT_EQ(points[1].status, 0x80);
  EXPECT_EQ(points[4513].number, 4514);
  // Asked for more than the flight has, it flies again a day later.
  const auto twice = pmlrFlightPoints(test::realFlight("xcscore_tri.igc"), 5000);
  EXPECT_EQ(twice[4514].seconds, points[0].seconds + 86400);
}

TEST(PmlrUnit, FaultsHitOnlyTheFirstTransfersAndSomeRecordsHoldALineEnd) {
  const auto points = pmlrFlightPoints(test::realFlight("xcscore_tri.igc"), 3000);
  PmlrFaults faults;
  faults.damaged = {3};
  faults.dropped = {5, 122};
  PmlrUnit logger(PmlrUnit::Model::LogIt, points, faults);
  ASSERT_EQ(logger.endRecordNumber(), 122);  // start, 120 point records, end
  EXPECT_EQ(logger.received("\n\r$PMLR,26,01,01,0339\r\n"), identificationLine("LOG_IT 2.1 SN 4711 "));

  const std::string whole = stream(logger.records());
  const std::string first = logger.received(TrackRequest);
  EXPECT_EQ(first.size(), whole.size() - unit(logger.records()[4]).size() - unit(logger.records()[121]).size());
  EXPECT_NE(first.substr(0, 1000), whole.substr(0, 1000));  // record 3 damaged
  EXPECT_EQ(logger.received(TrackRequest), whole);
  EXPECT_EQ(logger.trackRequests(), 2);
  EXPECT_EQ(logger.lastRequestedSpeed(), 38400);

  int cut = 0;
  for (const std::string& record : logger.records()) cut += record.find("\r\n") != std::string::npos;
  EXPECT_GE(cut, 3);

  logger.received("$PMLR,99,00,02B5\r\n");  // erased: only the start and the end record
  EXPECT_EQ(logger.received(TrackRequest), stream({startRecord(1), endRecord(2)}));
}

TEST(PmlrUnit, SilentOrUnpluggedAfterItsBytes) {
  const auto points = pmlrFlightPoints(test::realFlight("xcscore_tri.igc"), 100);
  PmlrFaults faults;
  faults.silent = true;
  PmlrUnit silent(PmlrUnit::Model::Mlr, points, faults);
  EXPECT_EQ(silent.received("$PMLR,26,01,01,0339\r\n"), "");
  EXPECT_EQ(silent.commands(), std::vector<std::string>{"$PMLR,26,01,01,0339"});

  faults = {};
  faults.unplugAfterBytes = 500;
  PmlrUnit vanishing(PmlrUnit::Model::Renschler, points, faults);
  EXPECT_EQ(vanishing.received("$PMLR,26,01,01,0339\r\n"), identificationLine("SOL 1234 5678 "));
  EXPECT_FALSE(vanishing.unplugged());
  const std::string answered = vanishing.received(TrackRequest);
  EXPECT_EQ(answered.size() + identificationLine("SOL 1234 5678 ").size(), 500u);
  EXPECT_TRUE(vanishing.unplugged());
  EXPECT_EQ(vanishing.received(TrackRequest), "");
}

}  // namespace
}  // namespace quorvanta::sim
