// A simulated Bräuniger IQ or Flytec 40XX variometer on a pseudo-terminal,
// started by hand, so that the barogram downloads can be tried without one.
// The program is built twice; QUORVANTA_SIM_IQ picks the instrument.

#include <cmath>
#include <csignal>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "devices/sim/FlytecVario.h"
#include "devices/sim/IqVario.h"
#include "devices/sim/PtyInstrument.h"

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

struct Options {
  int samples = 3600;
  int baud = 9600;
  VarioFault fault = VarioFault::None;
};

void usage() {
  std::cerr << "Aufruf: " << Name << " [--samples N] [--baud N]\n"
            << "       [--fault normal|pause|wrong-length|silent|vanish]\n"
            << "  --samples  Werte des Barogramms, eines je Sekunde ab 12:00 Uhr (Vorgabe: 3600)\n"
            << "  --baud     Geschwindigkeit nachbilden, 0: ungebremst (Vorgabe: 9600)\n"
            << "  --fault    Fehlverhalten des Geräts (Vorgabe: normal)\n";
}

int number(const std::string& text) {
  std::size_t used = 0;
  const int value = std::stoi(text, &used);
  if (used != text.size() || value < 0) throw std::invalid_argument(text);
  return value;
}

Options parseOptions(const std::vector<std::string>& args) {
  Options options;
  for (std::size_t i = 0; i < args.size(); i += 2) {
    if (i + 1 >= args.size()) throw std::invalid_argument(args[i]);
    const std::string& value = args[i + 1];
    if (args[i] == "--samples" && number(value) >= 1 && number(value) <= 22000)
      options.samples = number(value);
    else if (args[i] == "--baud")
      options.baud = number(value);
    else if (args[i] == "--fault")
      options.fault = varioFault(value);
    else
      throw std::invalid_argument(args[i]);
  }
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
  std::cout << Instrument << "-Simulator an " << path << "\n"
            << "Im Programm: in ~/.config/Quorvanta/Quorvanta.ini unter [Serial] COM1=" << path
            << " eintragen und \"COM 1\" wählen, oder: quorvanta-cli download " << CliName
            << " --device " << path << " --flight FLUG.igc -o AUS.igc\n";
}

#ifdef QUORVANTA_SIM_IQ
int runSimulator(const Options& options) {
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
int runSimulator(const Options& options) {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);  // before the runner thread starts
  FlytecVario vario({{.year = 2003, .month = 7, .day = 25, .hour = 12, .minute = 0,
                      .intervalCode = 0, .speedSensor = false, .altitudes = altitudes(options.samples)}},
                    4711, options.fault);
  PtyInstrument line(vario, vario.line(options.baud / 10));
  announce(line.slavePath());
  std::cout << "Beenden mit Strg-C." << std::endl;
  int signal = 0;
  sigwait(&signals, &signal);
  std::cout << "Simulator beendet (" << line.bytesFromHost() << " Bytes empfangen, "
            << line.bytesToHost() << " Bytes gesendet)." << std::endl;
  return 0;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  Options options;
  try {
    options = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception&) {
    usage();
    return 2;
  }
  try {
    return runSimulator(options);
  } catch (const std::exception& error) {
    std::cerr << "Fehler: " << error.what() << "\n";
    return 1;
  }
}
