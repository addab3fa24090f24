#include "devices/garmin/GarminRecords.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "devices/Bytes.h"
#include "devices/garmin/GarminSymbols.h"
#include "devices/sim/GarminScriptWriter.h"
#include "flight/ApplicationTitle.h"

namespace quorvanta::garmin {
namespace {

using sim::protocolArrayRecord;
using test::bytes;

std::string le16(int value) { return bytes({value & 0xFF, (value >> 8) & 0xFF}); }

std::string le32(std::int64_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  return le16(static_cast<int>(bits & 0xFFFF)) + le16(static_cast<int>(bits >> 16));
}

std::string leFloat(float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return le32(bits);
}

std::string field(const std::string& text, std::size_t size, char fill = ' ') {
  std::string padded = text;
  padded.resize(size, fill);
  return padded;
}

// ident, 45 degrees north, 11.25 degrees east, comment (D100), then symbol
// and display (D103).
std::string d103Waypoint(int symbol) {
  return field("TP01", 6) + le32(1 << 29) + le32(1 << 27) + le32(0) + field("Startplatz", 40) +
         bytes({symbol, 0});
}

std::string d154Waypoint(int symbol, int waypointClass) {
  return field("GLD", 6) + le32(-(1 << 29)) + le32(-(1 << 27)) + le32(0) + field("Landewiese", 40) +
         leFloat(0) + field("", 30) + field("", 24) + field("", 2) + le16(0) + field("", 2) +
         bytes({0, waypointClass}) + le16(symbol);
}

std::string almanacD501() {
  std::string data = le16(1234);
  for (float value : {503808.0f, 0.5f, 0.0f, 0.25f, 5153.5f, 1.5f, -1.5f, 2.0f, -0.125f, 0.75f}) {
    data += leFloat(value);
  }
  return data + bytes({0});
}

TEST(GarminRecordsTest, ProductData) {
  std::string unit;
  const auto text =
      productDataText(le16(130) + le16(310) + "eTrex Venture Software Version 3.10" + bytes({0}) +
                          "VERBMAP Americas Autoroute Highway" + bytes({0}),
                      unit);
  const std::string line =
      "ProductID: 130  SoftwareVers.: 310  Typ: eTrex Venture Software Version 3.10 VERBMAP "
      "Americas Autoroute Highway \n";
  EXPECT_EQ(text.display, line);
  EXPECT_EQ(text.transcript, line);
  EXPECT_EQ(unit, "eTrex Venture Software Version 3.10 - 130");
}

TEST(GarminRecordsTest, ProductDataWithoutTerminatorOrExtraTexts) {
  std::string unit;
  const auto text = productDataText(le16(77) + le16(250) + "GPS 12", unit);
  EXPECT_EQ(text.display, "ProductID: 77  SoftwareVers.: 250  Typ: GPS 12 \n");
  EXPECT_EQ(unit, "GPS 12 - 77");
}

TEST(GarminRecordsTest, ProtocolArrayOfAnEtrex) {
  ProtocolFormats formats;
  const auto text = protocolArrayText(
      protocolArrayRecord("P000 L001 A010 T001 A100 D108 A201 D202 D108 D210 A301 D310 D301 "
                          "A500 D501 A600 D600 A700 D700 A800 D800"),
      true, formats);
  const std::string lines =
      "Product Data      : A000, Physical      : P000\n"
      "Link              : L001, Command       : A010\n"
      "Was ist das?      : T001\n"
      "Waypoint Transfer : A100, Waypoint Data : D108\n"
      "Route Transfer    : A201, Route Header  : D202, Route Data: D108, Route Link Data: D210\n"
      "Track Transfer    : A301, Track Header  : D310, Track Data: D301\n"
      "Proximity Transfer: None, Proximity Data: None\n"
      "Almanac Transfer  : A500, Almanac Data  : D501\n"
      "Date/Time Transfer: A600, Date/Time Data: D600\n"
      "Position Transfer : A700, Position Data : D700\n"
      "PVT Transfer      : A800, PVT Data      : D800\n";
  EXPECT_EQ(text.display, "Protokoll Array:\n" + lines);
  EXPECT_EQ(text.transcript,
            "Daten werden ausgelesen mit " + std::string(ApplicationTitle) + "\n" + lines);
  EXPECT_TRUE(formats.received);
  EXPECT_TRUE(formats.a301);
  EXPECT_FALSE(formats.a300);
  EXPECT_TRUE(formats.d108);
  EXPECT_FALSE(formats.d100 || formats.d107 || formats.d154);
}

TEST(GarminRecordsTest, ProtocolArrayOfAnOlderUnit) {
  ProtocolFormats formats;
  const auto text = protocolArrayText(
      protocolArrayRecord("P000 L001 A010 A100 D100 A200 D201 D100 A300 D300 A400 D400 A500 D500 "
                          "A600 D600 A700 D700"),
      false, formats);
  EXPECT_EQ(text.display,
            "Product Data      : A000, Physical      : P000\n"
            "Link              : L001, Command       : A010\n"
            "Was ist das?      : None\n"
            "Waypoint Transfer : A100, Waypoint Data : D100\n"
            "Route Transfer    : A200, Route Header  : D201, Route Data: D100, "
            "Route Link Data: None\n"
            "Track Transfer    : A300, Track Header  : None, Track Data: D300\n"
            "Proximity Transfer: A400, Proximity Data: D400\n"
            "Almanac Transfer  : A500, Almanac Data  : D500\n"
            "Date/Time Transfer: A600, Date/Time Data: D600\n"
            "Position Transfer : A700, Position Data : D700\n"
            "PVT Transfer      : None, PVT Data      : None\n");
  EXPECT_TRUE(formats.a300);
  EXPECT_FALSE(formats.a301);
  EXPECT_TRUE(formats.d100);
}

TEST(GarminRecordsTest, ProtocolArrayFormatsComeFromTheirOwnEntries) {
  ProtocolFormats formats;
  formats.a300 = formats.d108 = true;
  protocolArrayText(protocolArrayRecord("A100 D154 A301 D310 D301"), false, formats);
  EXPECT_TRUE(formats.d154);
  EXPECT_FALSE(formats.d108);
  EXPECT_TRUE(formats.a301);
  EXPECT_FALSE(formats.a300);
  protocolArrayText(protocolArrayRecord("A100 D107"), false, formats);
  EXPECT_TRUE(formats.d107);
  EXPECT_FALSE(formats.a301);
}

TEST(GarminRecordsTest, EmptyProtocolArrayNamesNothing) {
  ProtocolFormats formats;
  const auto text = protocolArrayText("", false, formats);
  EXPECT_TRUE(formats.received);
  EXPECT_FALSE(formats.a300 || formats.a301 || formats.d100 || formats.d108);
  EXPECT_NE(text.display.find("Physical      : None\n"), std::string::npos);
  EXPECT_NE(text.display.find("Track Transfer    : None, Track Header  : None, Track Data: None"),
            std::string::npos);
}

TEST(GarminRecordsTest, DateAndTime) {
  const auto text = dateTimeText(bytes({7, 15}) + le16(2003) + le16(14) + bytes({5, 9}));
  EXPECT_EQ(text.display, "UTC: 15.7.2003   14:5:9\n");
  EXPECT_EQ(text.transcript, "");
}

// By the waypoint format the protocol array named; the transcript line is
// the display line.
TEST(GarminRecordsTest, WaypointOfEachFormat) {
  const struct {
    bool ProtocolFormats::*format;
    std::string record, line;
  } cases[] = {
      {nullptr, d103Waypoint(10), "WPT: TP01 / 45.000000 / 11.250000 / flag symbol / Startplatz\n"},
      {&ProtocolFormats::d107, d103Waypoint(15),
       "WPT: TP01 / 45.000000 / 11.250000 / back track symbol / Startplatz\n"},
      {&ProtocolFormats::d100, d103Waypoint(0).substr(0, 58),
       "WPT: TP01 / 45.000000 / 11.250000 / Startplatz\n"},
      {&ProtocolFormats::d108, std::string(60, '\x01'),
       "D108 WPT-Format noch nicht programmiert\n"},
      {&ProtocolFormats::d154, d154Waypoint(16393, 4),
       "WPT: GLD / -45.000000 / -11.250000 / glider symbol / user defined waypoint class / "
       "Landewiese\n"},
  };
  for (const auto& [format, record, line] : cases) {
    ProtocolFormats formats;
    if (format) formats.*format = true;
    const auto text = waypointText(record, formats);
    EXPECT_EQ(text.display, line);
    EXPECT_EQ(text.transcript, line);
  }
}

TEST(GarminRecordsTest, RouteHeader) {
  const auto text = routeHeaderText(bytes({3}) + field("ALPEN", 20));
  EXPECT_EQ(text.display, "Route  3: ALPEN\n");
  EXPECT_EQ(text.transcript, "RTE: 3 : ALPEN\n");
  EXPECT_EQ(routeHeaderText(bytes({12})).display, "Route 12: \n");
}

TEST(GarminRecordsTest, RouteWaypoint) {
  ProtocolFormats formats;
  const auto text = routeWaypointText(d103Waypoint(1), formats);
  EXPECT_EQ(text.display, "RWP: TP01 / 45.000000 / 11.250000 / house symbol / Startplatz\n");
  EXPECT_EQ(text.transcript, text.display);
}

TEST(GarminRecordsTest, Almanac) {
  const auto text = almanacText(almanacD501());
  EXPECT_EQ(text.display,
            "ALM: wn 1234 / toa 503808 / af0 0.5 / af1 0 / e 0.25 / sqrta 5153.5 / m0 1.5 / "
            "w -1.5 / omg0 2 / odot -0.125 / i 0.75 / hlth 0\n");
  EXPECT_EQ(text.transcript, text.display);
  EXPECT_EQ(almanacText(bytes({4}) + almanacD501()).display.substr(0, 19), "ALM: SV 5 / wn 1234");
}

TEST(GarminRecordsTest, SymbolAndClassNames) {
  EXPECT_EQ(basicSymbolName(0), "dot symbol");
  EXPECT_EQ(basicSymbolName(12), "circle with x symbol");
  EXPECT_EQ(basicSymbolName(16), "Symbol 16");
  EXPECT_EQ(symbolName(0), "white anchor symbol");
  EXPECT_EQ(symbolName(18), "waypoint dot");
  EXPECT_EQ(symbolName(8246), "summit symbol");
  EXPECT_EQ(symbolName(8315), "green letter 'B' symbol");
  EXPECT_EQ(symbolName(8350), "blue number '9' symbol");
  EXPECT_EQ(symbolName(16384), "airport symbol");
  EXPECT_EQ(symbolName(9999), "Symbol 9999");
  EXPECT_EQ(waypointClassName(0), "airport waypoint class");
  EXPECT_EQ(waypointClassName(8), "user defined symbol-only waypoint class");
  EXPECT_EQ(waypointClassName(200), "Klasse 200");
}

TEST(GarminRecordsTest, UnitTextsCannotBreakLines) {
  ProtocolFormats formats;
  std::string record = d103Waypoint(0);
  record[0] = '\r';
  record[1] = '\n';
  record[2] = static_cast<char>(0xC4);  // Latin-1 A umlaut
  EXPECT_EQ(waypointText(record, formats).display.substr(0, 13),
            "WPT: ??\xC3\x84"
            "1 / ");
}

// Whole lines without control characters that could break the display or
// the transcript.
void expectCleanLines(const RecordText& text) {
  ASSERT_FALSE(text.display.empty());
  EXPECT_EQ(text.display.back(), '\n');
  if (!text.transcript.empty()) {
    EXPECT_EQ(text.transcript.back(), '\n');
  }
  for (const std::string& lines : {text.display, text.transcript}) {
    for (char c : lines) {
      const auto byte = static_cast<unsigned char>(c);
      ASSERT_TRUE(c == '\n' || (byte >= 0x20 && byte != 0x7F)) << lines;
    }
  }
}

// Every prefix of a good record and random garbage of every size; nothing
// may be read past the record (the sanitizer run checks that).
TEST(GarminRecordsTest, ShortAndGarbageRecordsAreSafe) {
  std::vector<std::string> records = {
      le16(130) + le16(310) + "eTrex",
      protocolArrayRecord("P000 L001 A010 A100 D108 A301"),
      bytes({7, 15}) + le16(2003) + le16(14) + bytes({5, 9}),
      d103Waypoint(3),
      d154Waypoint(8255, 1),
      bytes({3}) + field("ALPEN", 20),
      almanacD501(),
      bytes({4}) + almanacD501()};
  for (std::size_t size = records.size(), i = 0; i < size; ++i) {
    for (std::size_t cut = 0; cut < records[i].size(); ++cut) {
      records.push_back(records[i].substr(0, cut));
    }
  }
  std::mt19937 random(11);
  for (int size = 0; size <= 255; ++size) {
    std::string garbage;
    for (int i = 0; i < size; ++i) garbage += static_cast<char>(random());
    records.push_back(garbage);
  }
  ProtocolFormats formatChoices[4];
  formatChoices[1].d100 = true;
  formatChoices[2].d107 = true;
  formatChoices[3].d154 = true;
  for (const std::string& record : records) {
    std::string unit;
    expectCleanLines(productDataText(record, unit));
    ProtocolFormats formats;
    expectCleanLines(protocolArrayText(record, true, formats));
    expectCleanLines(dateTimeText(record));
    for (const ProtocolFormats& choice : formatChoices) {
      expectCleanLines(waypointText(record, choice));
      expectCleanLines(routeWaypointText(record, choice));
    }
    expectCleanLines(routeHeaderText(record));
    expectCleanLines(almanacText(record));
  }
}

TEST(GarminRecordsTest, ShortRecordsGiveShorterTexts) {
  ProtocolFormats formats;
  EXPECT_EQ(waypointText(d103Waypoint(3).substr(0, 10), formats).display, "WPT: TP01\n");
  EXPECT_EQ(waypointText("", formats).display, "WPT: \n");
  EXPECT_EQ(dateTimeText(bytes({7, 15}) + le16(2003)).display, "UTC: 15.7.2003\n");
  EXPECT_EQ(routeHeaderText("").transcript, "RTE: \n");
  EXPECT_EQ(almanacText(le16(1234) + leFloat(1.0f) + "ab").display, "ALM: wn 1234 / toa 1\n");
  std::string unit = "before";
  EXPECT_EQ(productDataText(bytes({130}), unit).display, "ProductID: \n");
  EXPECT_EQ(unit, "before");
}

}  // namespace
}  // namespace quorvanta::garmin
