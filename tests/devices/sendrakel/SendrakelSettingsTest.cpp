#include "devices/sendrakel/SendrakelSettingsSession.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/MemorySettings.h"

namespace quorvanta::sendrakel {
namespace {

std::string write(const std::string& address, char value) {
  return "$PSRK,SET," + address + "," + std::string(1, value) + "\r\n";
}

TEST(SendrakelSettingsTest, SixtySevenWritesInterleavedInAddressOrder) {
  LoggerSettings values;
  values.pilot = "Abc";
  values.gliderType = "Gin Boomerang Xtra long";
  values.gliderId = "Jörg";
  values.reserve = "";
  values.interval = 5;
  values.powerDown = 255;
  values.lcd = true;
  const std::vector<std::string> writes = settingsWrites(values);
  ASSERT_EQ(writes.size(), 67u);
  EXPECT_EQ(writes[0], write("0000", 'A'));
  EXPECT_EQ(writes[2], write("0002", 'c'));
  for (int k = 3; k < 16; ++k) EXPECT_EQ(writes[static_cast<std::size_t>(k)].substr(15), " \r\n") << k;
  EXPECT_EQ(writes[15], write("000F", ' '));
  EXPECT_EQ(writes[16], write("0010", 'G'));
  EXPECT_EQ(writes[31], write("001F", 't'));  // cut to the field's 16 bytes
  EXPECT_EQ(writes[33], write("0021", '\xF6'));  // Latin-1, as the logger shows it
  EXPECT_EQ(writes[48], write("0030", ' '));
  EXPECT_EQ(writes[64], write("00CF", '\x05'));
  EXPECT_EQ(writes[65], write("00DF", '\xFF'));
  EXPECT_EQ(writes[66], write("00EF", '\xFF'));
  values.lcd = false;
  EXPECT_EQ(settingsWrites(values)[66], write("00EF", '\0'));
}

TEST(SendrakelSettingsTest, StoredValuesWithDefaults) {
  test::MemorySettings settings;
  const LoggerSettings defaults = readLoggerSettings(settings);
  EXPECT_EQ(defaults.pilot, "not set");
  EXPECT_EQ(defaults.interval, 5);
  EXPECT_EQ(defaults.powerDown, 33);
  EXPECT_FALSE(defaults.lcd);
  LoggerSettings values;
  values.pilot = "Hans";
  values.interval = 12;
  values.lcd = true;
  saveLoggerSettings(settings, values);
  EXPECT_EQ(settings.readString("Sendra", "setLCD", ""), "TRUE");
  settings.writeString("Sendra", "setLCD", "true");
  const LoggerSettings read = readLoggerSettings(settings);
  EXPECT_EQ(read.pilot, "Hans");
  EXPECT_EQ(read.interval, 12);
  EXPECT_TRUE(read.lcd);
}

TEST(SendrakelSettingsTest, EachWriteWaitsForItsAnswerAndSilenceDoesNotStopTheSequence) {
  SendrakelSettingsSession session;
  SessionCommands out = session.send(LoggerSettings{});
  ASSERT_EQ(out.size(), 3u);
  EXPECT_TRUE(std::holds_alternative<OpenPort>(out[0]));
  EXPECT_EQ(std::get<WriteBytes>(out[1]).bytes, write("0000", 'n'));
  EXPECT_EQ(std::get<StartTimer>(out[2]).milliseconds, 75);
  EXPECT_TRUE(session.send(LoggerSettings{}).empty());  // one sequence at a time

  session.received("OK 0000");
  session.received("\r\n");
  EXPECT_EQ(session.bytesLabel(), "Bytes übertragen: 9");
  out = session.timerFired(SendrakelSettingsSession::AnswerTimer);
  EXPECT_EQ(session.answerLabel(), "Antwort von Sendrakel: OK 0000");
  EXPECT_EQ(std::get<WriteBytes>(out[0]).bytes, write("0001", 'o'));
  for (int k = 2; k <= 67; ++k) {
    session.timerFired(SendrakelSettingsSession::AnswerTimer);
    EXPECT_EQ(session.answerLabel(), "Sendrakel antwortet nicht");
  }
  EXPECT_EQ(session.written(), 67);
  EXPECT_FALSE(session.sending());
  EXPECT_TRUE(session.timerFired(SendrakelSettingsSession::AnswerTimer).empty());
  out = session.close();
  EXPECT_TRUE(std::holds_alternative<ClosePort>(out.back()));
}

}  // namespace
}  // namespace quorvanta::sendrakel
