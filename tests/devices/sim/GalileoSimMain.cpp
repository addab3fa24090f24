// A simulated Bräuniger Galileo on a pseudo-terminal, started by hand, so
// that the download window and the command-line download can be tried
// without one.

#include <csignal>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "devices/sim/GalileoUnit.h"
#include "devices/sim/PtyInstrument.h"
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

struct Options {
  std::string flight = quorvanta::test::realFlight("xcscore_tri.igc").string();
  GalileoUnit::Behaviour behaviour = GalileoUnit::Behaviour::Normal;
  std::size_t pauseAfter = 0, unplugAfter = 0;
};

std::size_t count(const std::string& text) {
  std::size_t used = 0;
  const unsigned long value = std::stoul(text, &used);
  if (used != text.size()) throw std::invalid_argument(text);
  return value;
}

Options parseOptions(const std::vector<std::string>& args) {
  Options options;
  for (std::size_t i = 0; i < args.size(); i += 2) {
    if (i + 1 >= args.size()) throw std::invalid_argument(args[i]);
    const std::string& option = args[i];
    const std::string& value = args[i + 1];
    if (option == "--flight") {
      options.flight = value;
    } else if (option == "--mode") {
      if (value == "normal") options.behaviour = GalileoUnit::Behaviour::Normal;
      else if (value == "silent") options.behaviour = GalileoUnit::Behaviour::Silent;
      else if (value == "no-date") options.behaviour = GalileoUnit::Behaviour::NoDate;
      else if (value == "no-g") options.behaviour = GalileoUnit::Behaviour::NoGRecord;
      else throw std::invalid_argument(value);
    } else if (option == "--pause-after") {
      options.pauseAfter = count(value);
    } else if (option == "--unplug-after") {
      options.unplugAfter = count(value);
    } else {
      throw std::invalid_argument(option);
    }
  }
  return options;
}

int runSimulator(const Options& options) {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);  // before the runner thread starts

  GalileoUnit unit(flightFileLines(options.flight), options.behaviour);
  if (options.unplugAfter > 0) unit.unplugAfterBytes(options.unplugAfter);
  PtyInstrument::Options line;
  line.pauseAfterBytes = options.pauseAfter;
  line.pauseFor = std::chrono::seconds(1);
  PtyInstrument instrument(unit, line);
  const auto& path = instrument.slavePath();
  std::cout << "Galileo-Simulator an " << path << "\n"
            << "Im Programm: in ~/.config/Quorvanta/Quorvanta.ini unter [Serial] COM1=" << path
            << " eintragen und \"COM 1\" wählen, oder: quorvanta-cli download galileo --device "
            << path << "\n"
            << "Beenden mit Strg-C." << std::endl;
  int signal = 0;
  sigwait(&signals, &signal);
  std::cout << "Simulator beendet (" << instrument.bytesFromHost() << " Bytes empfangen, "
            << instrument.bytesToHost() << " Bytes gesendet)." << std::endl;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  try {
    options = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception&) {
    std::cerr << Usage;
    return 2;
  }
  try {
    return runSimulator(options);
  } catch (const std::exception& error) {
    std::cerr << "Fehler: " << error.what() << "\n";
    return 1;
  }
}
