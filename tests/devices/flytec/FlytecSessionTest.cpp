#include "devices/flytec/FlytecSession.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "devices/sim/FlytecVario.h"
#include "flight/DayCount.h"

namespace quorvanta::flytec {
namespace {

using ::testing::HasSubstr;

using sim::FlytecDirectoryContent;
using sim::FlytecEntry;
using sim::flytecDirectory;

// A memory answer: `size` bytes of 3-byte samples from address 100 on, whose
// altitude bytes read 0x34, 0x92 (4660 m once the top bit is dropped), and
// the two bytes after them.
std::string memory(int size) {
  std::string bytes(100, '\0');
  while (static_cast<int>(bytes.size()) < size) bytes += "\x34\x92\x50";
  bytes.resize(static_cast<std::size_t>(size));
  return bytes + "\r\n";
}

class FlytecSessionTest : public ::testing::Test {
 protected:
  SessionCommands answer(std::string_view bytes) {
    session.received(bytes);
    return session.timerFired(AnswerTimer);
  }
  void readUpToTheList(const FlytecDirectoryContent& content, int memorySize) {
    session.readBarograph();
    answer(flytecDirectory(content));
    answer(memory(memorySize));
  }

  BarographBuffer buffer;
  FlytecSession session{buffer};
};

TEST_F(FlytecSessionTest, DirectoryThenMemoryThenOneFlightsBarogram) {
  const SessionCommands start = session.readBarograph();
  ASSERT_EQ(start.size(), 3u);
  EXPECT_TRUE(std::holds_alternative<OpenPort>(start[0]));
  EXPECT_EQ(std::get<WriteBytes>(start[1]).bytes, "A000085\r\n");
  EXPECT_FALSE(session.view().readButtonVisible);

  const SessionCommands next = answer(flytecDirectory({}));
  ASSERT_FALSE(next.empty());
  EXPECT_EQ(std::get<WriteBytes>(next[0]).bytes, "A000086\r\n");
  EXPECT_THAT(session.view().flights,
              ::testing::ElementsAre("Flug Nr: 1 15.06.2003 12:05:00: 2345m 1456m Flugzeit: 02:45:30"));
  EXPECT_EQ(session.view().progressMaximum, 8191);

  answer(memory(8191));
  ASSERT_TRUE(session.dataReady());
  EXPECT_EQ(session.view().instruction, "Jetzt einen Flug auswählen und Button <Flug übernehmen> anklicken");
  session.tickFlight(0);
  ASSERT_TRUE(session.view().takeOverVisible);
  session.takeOverFlight();
  EXPECT_THAT(session.view().instruction, ::testing::StartsWith("Das Barogramm steht jetzt in Quorvanta"));
  EXPECT_EQ(buffer.BaroCount, 100);  // sensor type 3: 3-byte samples at 100..399
  EXPECT_EQ(buffer.BaroAlt[1], 4660);
  EXPECT_EQ(buffer.BaroAlt[100], 4660);
  EXPECT_EQ(buffer.BaroStart, *encodeDate(2003, 6, 15) + *encodeTime(12, 5, 0));
  EXPECT_DOUBLE_EQ(buffer.BaroInterval, 5.0 / 86400);
  EXPECT_EQ(buffer.BaroSerial, 3141);
}

TEST_F(FlytecSessionTest, DirectoryCutAnywhereArrivesWhole) {
  const std::string bytes = flytecDirectory({});
  for (std::size_t cut = 1; cut < bytes.size(); cut += 7) {
    FlytecSession split(buffer);
    split.readBarograph();
    split.received(bytes.substr(0, cut));
    split.received(bytes.substr(cut));
    split.timerFired(AnswerTimer);
    ASSERT_EQ(split.view().flights.size(), 1u) << cut;
  }
}

TEST_F(FlytecSessionTest, MemorySizeCodeSevenExpects61441Bytes) {
  readUpToTheList({.sizeCode = 7}, 61438);
  EXPECT_FALSE(session.dataReady());
  EXPECT_EQ(session.view().status, "Übertragungsfehler!");
  EXPECT_TRUE(session.view().statusRed);

  FlytecSession whole(buffer);
  whole.readBarograph();
  whole.received(flytecDirectory({.sizeCode = 7}));
  whole.timerFired(AnswerTimer);
  whole.received(memory(61439));
  whole.timerFired(AnswerTimer);
  EXPECT_TRUE(whole.dataReady());
}

TEST_F(FlytecSessionTest, PauseInsideAnAnswerIsATransmissionError) {
  session.readBarograph();
  const std::string bytes = flytecDirectory({});
  answer(bytes.substr(0, 200));
  EXPECT_EQ(session.view().status, "Übertragungsfehler!");
  answer(bytes.substr(200));
  EXPECT_TRUE(session.view().flights.empty());
}

TEST_F(FlytecSessionTest, SilenceAndRefusedDirectories) {
  session.readBarograph();
  session.timerFired(AnswerTimer);
  EXPECT_EQ(session.view().status, "Flytec 40XX antwortet nicht!");

  for (const FlytecDirectoryContent& bad :
       {FlytecDirectoryContent{.sizeCode = 8}, FlytecDirectoryContent{.count = 20}}) {
    FlytecSession refusing(buffer);
    refusing.readBarograph();
    const SessionCommands after = refusing.received(flytecDirectory(bad));
    ASSERT_EQ(after.size(), 1u);
    for (const SessionCommand& command : refusing.timerFired(AnswerTimer)) {
      EXPECT_FALSE(std::holds_alternative<WriteBytes>(command));  // no memory request
    }
    EXPECT_TRUE(refusing.view().statusRed);
    EXPECT_THAT(refusing.view().status, HasSubstr("Fehler"));
    EXPECT_TRUE(refusing.view().flights.empty());
  }
}

TEST_F(FlytecSessionTest, FlightsOutsideTheMemoryOrTheBufferAreRefused) {
  buffer.BaroCount = 9;
  const std::vector<FlytecEntry> flights = {
      {.first = 49000, .last = 49300},              // beyond the 49151 bytes read
      {.first = 399, .last = 100},                  // in the wrong order
      {.flags = 0x00, .first = 0, .last = 44001}};  // 22001 two-byte samples
  readUpToTheList({.entries = flights, .sizeCode = 6}, 49151);
  for (int k = 0; k < 3; ++k) {
    session.view().message.clear();
    session.tickFlight(k);
    session.takeOverFlight();
    EXPECT_FALSE(session.view().message.empty()) << k;
  }
  EXPECT_THAT(session.view().message, HasSubstr("22001 Werte"));
  EXPECT_EQ(buffer.BaroCount, 9);
}

TEST(FlytecMemory, PackedBcd) {
  EXPECT_EQ(bcd(0x59), 59);
  EXPECT_EQ(bcd(0x15), 15);
  EXPECT_EQ(bcd(0x03), 3);
}

}  // namespace
}  // namespace quorvanta::flytec
