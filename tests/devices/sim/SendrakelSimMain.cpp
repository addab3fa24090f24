// A simulated Sendrakel logger on a pseudo-terminal, started by hand, so that
// its download and settings windows and the command-line download can be
// tried without one.

#include <iostream>
#include <string>
#include <vector>

#include "devices/sim/SendrakelUnit.h"
#include "devices/sim/SimMain.h"
#include "support/TestFiles.h"

namespace {

using namespace quorvanta::sim;

constexpr const char* Usage =
    "Aufruf: quorvanta-sendrakel-sim [--flight DATEI.igc] [--mode normal|short|silent|vanish]\n"
    "  --flight  Flug, dessen B-Records die Tracks des Loggers werden\n"
    "            (Vorgabe: ein Flug aus den gemeinsamen Testdaten)\n"
    "  --mode    normal; short: halbe Antworten; silent: keine Antwort;\n"
    "            vanish: halbe Antwort, dann Kabel gezogen\n";

SendrakelUnit::Behaviour behaviour(const std::string& mode) {
  if (mode == "normal") return SendrakelUnit::Behaviour::Normal;
  if (mode == "short") return SendrakelUnit::Behaviour::Short;
  if (mode == "silent") return SendrakelUnit::Behaviour::Silent;
  if (mode == "vanish") return SendrakelUnit::Behaviour::Vanish;
  throw std::invalid_argument(mode);
}

int run(const std::vector<std::string>& args) {
  std::string flight =
      quorvanta::test::realFlight("flaretiming_Brad-Porter.20180104-095852.36822.34.igc").string();
  SendrakelUnit::Behaviour mode = SendrakelUnit::Behaviour::Normal;
  forEachOption(args, [&](const std::string& option, const std::string& value) {
    if (option == "--flight") flight = value;
    else if (option == "--mode") mode = behaviour(value);
    else throw std::invalid_argument(option);
  });
  StopSignals stop;
  SendrakelUnit unit({sendrakelTrack(flight, 600), sendrakelTrack(flight)});
  unit.setBehaviour(mode);
  PtyInstrument& line = unit.plugIn();
  announceSimulator("Sendrakel", line.slavePath(), "sendrakel --device " + line.slavePath());
  std::cout << "Beenden mit Strg-C." << std::endl;
  stop.wait();
  std::cout << "Simulator beendet (" << unit.sentences().size() << " Befehle, "
            << unit.setWrites() << " SET)." << std::endl;
  return 0;
}

}  // namespace

int main(int argc, char** argv) { return simulatorMain(argc, argv, Usage, run); }
