// A simulated Bräuniger IQ or Flytec 40XX variometer on a pseudo-terminal,
// started by hand, so that the barogram downloads can be tried without one.
// The program is built twice; QUORVANTA_SIM_IQ picks the instrument.

#include <cmath>
#include <iostream>
#include <string>
#include <vector>

#include "devices/sim/FlytecVario.h"
#include "devices/sim/IqVario.h"
#include "devices/sim/PtyInstrument.h"
#include "devices/sim/SimMain.h"

namespace {

using namespace quorvanta::sim;

#ifdef QUORVANTA_SIM_IQ
constexpr const char* Name = "quorvanta-iq-sim";
constexpr const char* Instrument = "Bräuniger-IQ";
constexpr const char* CliName = "iq";
#else
constexpr const char* Name = "quorvanta-flytec-sim";
constexpr const char* Instrument = "Flytec-40XX";
constexpr const char* CliName = "flytec";
#endif

constexpr const char* UsageOptions =
    " [--samples N] [--baud N] [--mode normal|pause|wrong-length|silent|vanish]\n"
    "  --samples  Werte des Barogramms, eines je Sekunde ab 12:00 Uhr (Vorgabe: 3600)\n"
    "  --baud     Geschwindigkeit nachbilden, 0: ungebremst (Vorgabe: 9600)\n"
    "  --mode     Fehlverhalten des Geräts (Vorgabe: normal)\n";
const std::string Usage = std::string("Aufruf: ") + Name + UsageOptions;

struct Options {
  int samples = 3600;
  int baud = 9600;
  VarioFault fault = VarioFault::None;
};

Options parseOptions(const std::vector<std::string>& args) {
  Options options;
  forEachOption(args, [&options](const std::string& option, const std::string& value) {
    if (option == "--samples" && wholeNumber(value) >= 1 && wholeNumber(value) <= 22000)
      options.samples = wholeNumber(value);
    else if (option == "--baud")
      options.baud = wholeNumber(value);
    else if (option == "--mode")
      options.fault = varioFault(value);
    else
      throw std::invalid_argument(option);
  });
  return options;
}

// A climb to 2000 m and a glide back, one value a second.
std::vector<int> altitudes(int count) {
  std::vector<int> values;
  for (int k = 0; k < count; ++k) {
    values.push_back(600 + static_cast<int>(1400 * std::sin(3.14159265 * k / count)));
  }
  return values;
}

void announce(const std::string& path) {
  announceSimulator(Instrument, path,
                    std::string(CliName) + " --device " + path + " --flight FLUG.igc -o AUS.igc");
}

#ifdef QUORVANTA_SIM_IQ
int run(const std::vector<std::string>& args) {
  const Options options = parseOptions(args);
  IqDumpContent content;
  content.scanSeconds = 1;
  content.start = 1200;
  content.landing = 1200 + options.samples / 3600 * 100 + options.samples / 60 % 60;
  content.samples.clear();
  for (const int altitude : altitudes(options.samples)) content.samples.push_back({altitude, 35});
  IqVario vario(content, options.fault);
  PtyInstrument line(vario, vario.line(options.baud / 10));
  announce(line.slavePath());
  std::cout << "Eingabetaste: der Flug wird gesendet (Memo/Enter gedrückt). Beenden mit Strg-D."
            << std::endl;
  std::string ignored;
  while (std::getline(std::cin, ignored)) {
    vario.pressSend(line);
    std::cout << "Gesendet (" << line.bytesToHost() << " Bytes bisher)." << std::endl;
  }
  return 0;
}
#else
int run(const std::vector<std::string>& args) {
  const Options options = parseOptions(args);
  StopSignals stop;
  FlytecVario vario({{.year = 2003, .month = 7, .day = 25, .hour = 12, .minute = 0,
                      .intervalCode = 0, .speedSensor = false, .altitudes = altitudes(options.samples)}},
                    4711, options.fault);
  PtyInstrument line(vario, vario.line(options.baud / 10));
  announce(line.slavePath());
  std::cout << "Beenden mit Strg-C." << std::endl;
  stop.wait();
  std::cout << "Simulator beendet (" << line.bytesFromHost() << " Bytes empfangen, "
            << line.bytesToHost() << " Bytes gesendet)." << std::endl;
  return 0;
}
#endif

}  // namespace

int main(int argc, char** argv) { return simulatorMain(argc, argv, Usage.c_str(), run); }
