// A simulated Sendrakel logger on a pseudo-terminal, started by hand, so that
// its download and settings windows and the command-line download can be
// tried without one.

#include <csignal>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "devices/sim/SendrakelUnit.h"
#include "support/TestFiles.h"

namespace {

using namespace quorvanta::sim;

constexpr const char* Usage =
    "Aufruf: quorvanta-sendrakel-sim [--flight IGC-DATEI] [--verhalten normal|kurz|stumm|weg]\n"
    "  --flight     Flug, dessen B-Records die Tracks des Loggers werden\n"
    "               (Vorgabe: ein Flug aus den gemeinsamen Testdaten)\n"
    "  --verhalten  normal; kurz: halbe Antworten; stumm: keine Antwort;\n"
    "               weg: halbe Antwort, dann Kabel gezogen\n";

int run(const std::vector<std::string>& args) {
  std::string flight =
      quorvanta::test::realFlight("flaretiming_Brad-Porter.20180104-095852.36822.34.igc").string();
  SendrakelUnit::Behaviour behaviour = SendrakelUnit::Behaviour::Normal;
  for (std::size_t i = 0; i < args.size(); i += 2) {
    if (i + 1 >= args.size()) throw std::invalid_argument(args[i]);
    const std::string& value = args[i + 1];
    if (args[i] == "--flight") {
      flight = value;
    } else if (args[i] == "--verhalten" && value == "kurz") {
      behaviour = SendrakelUnit::Behaviour::Short;
    } else if (args[i] == "--verhalten" && value == "stumm") {
      behaviour = SendrakelUnit::Behaviour::Silent;
    } else if (args[i] == "--verhalten" && value == "weg") {
      behaviour = SendrakelUnit::Behaviour::Vanish;
    } else if (args[i] != "--verhalten" || value != "normal") {
      throw std::invalid_argument(args[i]);
    }
  }
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);  // before the runner threads start

  SendrakelUnit unit({sendrakelTrack(flight, 600), sendrakelTrack(flight)});
  unit.setBehaviour(behaviour);
  PtyInstrument& line = unit.plugIn();
  std::cout << "Sendrakel-Simulator an " << line.slavePath() << "\n"
            << "Im Programm: in ~/.config/Quorvanta/Quorvanta.ini unter [Serial] COM1="
            << line.slavePath() << " eintragen und \"COM 1\" wählen, oder: quorvanta-cli download "
            << "sendrakel --device " << line.slavePath() << "\n"
            << "Beenden mit Strg-C." << std::endl;
  int signal = 0;
  sigwait(&signals, &signal);
  std::cout << "Simulator beendet (" << unit.sentences().size() << " Befehle, "
            << unit.setWrites() << " SET)." << std::endl;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::invalid_argument&) {
    std::cerr << Usage;
    return 2;
  } catch (const std::exception& error) {
    std::cerr << "Fehler: " << error.what() << "\n";
    return 1;
  }
}
