#include "devices/flytec/FlytecSession.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "flight/DayCount.h"

namespace quorvanta::flytec {
namespace {

using ::testing::HasSubstr;

void putLittleEndian(std::string& bytes, std::size_t at, int value) {
  bytes[at] = static_cast<char>(value & 0xFF);
  bytes[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

// A directory answer of 513 bytes: the flights, their count, the serial
// number and the memory size code.
struct DirectoryContent {
  struct Flight {
    int first = 100, last = 399;
    int flags = 0x0C | 0x01;  // speed sensor type 3, 5 s
  };
  std::vector<Flight> flights = {{}};
  int count = -1;  // the flights' number unless set
  int sizeCode = 1;
};

std::string directory(const DirectoryContent& c) {
  std::string bytes(DirectoryAnswerSize, '\0');
  for (std::size_t k = 0; k < c.flights.size(); ++k) {
    const std::size_t at = k * 19;
    putLittleEndian(bytes, at, 2345);
    putLittleEndian(bytes, at + 2, 1456);
    const char bcdFields[] = {0x30, 0x45, 0x02, 0x15, 0x06, 0x03, 0x05, 0x12};  // 2:45:30, 15.06.03 12:05
    for (std::size_t b = 0; b < sizeof bcdFields; ++b) bytes[at + 6 + b] = bcdFields[b];
    bytes[at + 14] = static_cast<char>(c.flights[k].flags);
    putLittleEndian(bytes, at + 15, c.flights[k].first);
    putLittleEndian(bytes, at + 17, c.flights[k].last);
  }
  bytes[362] = static_cast<char>(c.count >= 0 ? c.count : static_cast<int>(c.flights.size()));
  putLittleEndian(bytes, 384, 3141);
  bytes[404] = static_cast<char>(c.sizeCode);
  return bytes;
}

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
  void readUpToTheList(const DirectoryContent& content, int memorySize) {
    session.readBarograph();
    answer(directory(content));
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

  const SessionCommands next = answer(directory({}));
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
  const std::string bytes = directory({});
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
  whole.received(directory({.sizeCode = 7}));
  whole.timerFired(AnswerTimer);
  whole.received(memory(61439));
  whole.timerFired(AnswerTimer);
  EXPECT_TRUE(whole.dataReady());
}

TEST_F(FlytecSessionTest, PauseInsideAnAnswerIsATransmissionError) {
  session.readBarograph();
  const std::string bytes = directory({});
  answer(bytes.substr(0, 200));
  EXPECT_EQ(session.view().status, "Übertragungsfehler!");
  answer(bytes.substr(200));
  EXPECT_TRUE(session.view().flights.empty());
}

TEST_F(FlytecSessionTest, SilenceAndRefusedDirectories) {
  session.readBarograph();
  session.timerFired(AnswerTimer);
  EXPECT_EQ(session.view().status, "Flytec 40XX antwortet nicht!");

  for (const DirectoryContent& bad : {DirectoryContent{.sizeCode = 8}, DirectoryContent{.count = 20}}) {
    FlytecSession refusing(buffer);
    refusing.readBarograph();
    const SessionCommands after = refusing.received(directory(bad));
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
  const std::vector<DirectoryContent::Flight> flights = {
      {.first = 49000, .last = 49300},                // beyond the 49151 bytes read
      {.first = 399, .last = 100},                    // in the wrong order
      {.first = 0, .last = 44001, .flags = 0x00}};    // 22001 two-byte samples
  readUpToTheList({.flights = flights, .sizeCode = 6}, 49151);
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
