#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "devices/sim/InstrumentModel.h"
#include "devices/sim/PtyInstrument.h"
#include "devices/sim/VarioFault.h"

namespace quorvanta::sim {

// One flight as a Bräuniger IQ variometer keeps it.
struct IqDumpContent {
  int flightNumber = 7;
  int barographNumber = 4711;
  std::string pilot = "Hans Lange";
  int date = 2507, year = 2003;  // day × 100 + month
  int scanSeconds = 5;
  int start = 1230, landing = 1420;  // hours × 100 + minutes
  struct Sample {
    int altitude = 0;  // metres
    int speed = 0;     // km/h
  };
  std::vector<Sample> samples = {{1200, 0}, {1234, 38}, {-5, 255}};
  int landingElevation = 640;
};

// The memory dump in the variometer's layout, its length field matching.
std::string iqDump(const IqDumpContent& content);

// A Bräuniger IQ variometer: it reads nothing from the line and sends its
// dump when the pilot holds the Memo/Enter key.
class IqVario : public InstrumentModel {
 public:
  IqVario(const IqDumpContent& content, VarioFault fault) : dump_(iqDump(content)), fault_(fault) {}

  std::string received(std::string_view) override { return {}; }

  const std::string& dump() const { return dump_; }
  PtyInstrument::Options line(int bytesPerSecond) const;
  // The key held: the dump goes out on `line`, spoilt as the fault says.
  void pressSend(PtyInstrument& line) const;

 private:
  std::string dump_;
  VarioFault fault_;
};

}  // namespace quorvanta::sim
