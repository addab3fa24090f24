// A simulated Bräuniger Galileo on a pseudo-terminal, started by hand, so
// that the download window and the command-line download can be tried
// without one.

#include <iostream>
#include <string>
#include <vector>

#include "devices/sim/GalileoUnit.h"
#include "devices/sim/PtyInstrument.h"
#include "devices/sim/SimMain.h"
#include "support/TestFiles.h"

namespace {

using namespace quorvanta::sim;

constexpr const char* Usage =
    "Aufruf: quorvanta-galileo-sim [--flight DATEI.igc] [--mode normal|silent|no-date|no-g]\n"
    "                              [--pause-after BYTES] [--unplug-after BYTES]\n"
    "  --flight       der am Gerät gewählte Flug (Vorgabe: xcscore_tri.igc der Testdaten)\n"
    "  --mode         normal; silent: antwortet nicht; no-date: Track ohne HFDTE;\n"
    "                 no-g: Track ohne G-Record des Geräts\n"
    "  --pause-after  nach so vielen Bytes eine Sekunde Pause\n"
    "  --unplug-after nach so vielen Bytes das Kabel ziehen\n";

GalileoUnit::Behaviour behaviour(const std::string& mode) {
  if (mode == "normal") return GalileoUnit::Behaviour::Normal;
  if (mode == "silent") return GalileoUnit::Behaviour::Silent;
  if (mode == "no-date") return GalileoUnit::Behaviour::NoDate;
  if (mode == "no-g") return GalileoUnit::Behaviour::NoGRecord;
  throw std::invalid_argument(mode);
}

int run(const std::vector<std::string>& args) {
  std::string flight = quorvanta::test::realFlight("xcscore_tri.igc").string();
  GalileoUnit::Behaviour mode = GalileoUnit::Behaviour::Normal;
  int pauseAfter = 0, unplugAfter = 0;
  forEachOption(args, [&](const std::string& option, const std::string& value) {
    if (option == "--flight") flight = value;
    else if (option == "--mode") mode = behaviour(value);
    else if (option == "--pause-after") pauseAfter = wholeNumber(value);
    else if (option == "--unplug-after") unplugAfter = wholeNumber(value);
    else throw std::invalid_argument(option);
  });
  StopSignals stop;
  GalileoUnit unit(flightFileLines(flight), mode);
  if (unplugAfter > 0) unit.unplugAfterBytes(static_cast<std::size_t>(unplugAfter));
  PtyInstrument::Options line;
  line.pauseAfterBytes = static_cast<std::size_t>(pauseAfter);
  line.pauseFor = std::chrono::seconds(1);
  PtyInstrument instrument(unit, line);
  announceSimulator("Galileo", instrument.slavePath(), "galileo --device " + instrument.slavePath());
  std::cout << "Beenden mit Strg-C." << std::endl;
  stop.wait();
  std::cout << "Simulator beendet (" << instrument.bytesFromHost() << " Bytes empfangen, "
            << instrument.bytesToHost() << " Bytes gesendet)." << std::endl;
  return 0;
}

}  // namespace

int main(int argc, char** argv) { return simulatorMain(argc, argv, Usage, run); }
