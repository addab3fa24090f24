// A simulated Garmin unit on a pseudo-terminal, started by hand, so that the
// download window and the command-line download can be tried without one.

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "devices/sim/GarminScriptWriter.h"
#include "devices/sim/GarminUnit.h"
#include "devices/sim/PtyInstrument.h"

namespace {

using namespace quorvanta::sim;

constexpr const char* Usage =
    "Aufruf: quorvanta-garmin-sim [--scripts VERZEICHNIS] [--format d301|d300]\n"
    "                             [--track-points N] [--baud N]\n"
    "       quorvanta-garmin-sim --write-scripts VERZEICHNIS\n"
    "  --scripts        Verzeichnis der aufgezeichneten Abläufe (Vorgabe: tests/data/garmin)\n"
    "  --format         Trackformat des Geräts (Vorgabe: d301)\n"
    "  --track-points   statt des aufgezeichneten Tracklogs eines mit N Punkten erzeugen\n"
    "  --baud           Geschwindigkeit der Antworten nachbilden, 0: ungebremst (Vorgabe: 9600)\n"
    "  --write-scripts  die aufgezeichneten Abläufe neu schreiben und beenden\n";

struct Options {
  std::filesystem::path scripts = recordedScriptDir();
  TrackFormat format = TrackFormat::D301;
  int trackPoints = 0;
  int baud = 9600;
  std::filesystem::path writeScripts;
};

int number(const std::string& text) {
  std::size_t used = 0;
  const int value = std::stoi(text, &used);
  if (used != text.size() || value < 0) throw std::invalid_argument(text);
  return value;
}

Options parseOptions(const std::vector<std::string>& args) {
  Options options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const auto& option = args[i];
    if (i + 1 >= args.size()) throw std::invalid_argument(option);
    const auto& value = args[++i];
    if (option == "--scripts")
      options.scripts = value;
    else if (option == "--format" && (value == "d301" || value == "d300"))
      options.format = value == "d301" ? TrackFormat::D301 : TrackFormat::D300;
    else if (option == "--track-points" && number(value) < 0xFFFF)
      options.trackPoints = number(value);
    else if (option == "--baud")
      options.baud = number(value);
    else if (option == "--write-scripts")
      options.writeScripts = value;
    else
      throw std::invalid_argument(option);
  }
  return options;
}

void writeScripts(const std::filesystem::path& dir) {
  std::filesystem::create_directories(dir);
  for (const auto& file : recordedFiles()) {
    std::ofstream out(dir / file.name, std::ios::binary);
    out << scriptText(file.script, file.heading);
    if (!out) throw std::runtime_error("kann " + (dir / file.name).string() + " nicht schreiben");
  }
}

GarminScript unitScript(const Options& options) {
  const bool d301 = options.format == TrackFormat::D301;
  const auto& dir = options.scripts;
  auto script = loadScripts({dir / (d301 ? "product-d301.txt" : "product-d300.txt"),
                             dir / (d301 ? "tracklog-d301.txt" : "tracklog-d300.txt"),
                             dir / (d301 ? "waypoints-d108.txt" : "waypoints-d100.txt"),
                             dir / "routes.txt", dir / "almanac.txt", dir / "datetime.txt"});
  if (options.trackPoints > 0) {
    const auto points =
        flightPath(options.trackPoints, garminTime(2003, 7, 15, 10, 0, 0), 2);
    script.merge(trackLogScript({{"GENERATED", points}}, options.format));
  }
  return script;
}

int runSimulator(const Options& options) {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);  // before the runner thread starts

  GarminUnit unit(unitScript(options));
  PtyInstrument instrument(unit, {options.baud / 10});
  const auto& path = instrument.slavePath();
  std::cout << "Garmin-Simulator an " << path << "\n"
            << "Im Programm: in ~/.config/Quorvanta/Quorvanta.ini unter [Serial] COM1=" << path
            << " eintragen und \"COM 1\" wählen, oder: quorvanta-cli download garmin --device "
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
    if (!options.writeScripts.empty()) {
      writeScripts(options.writeScripts);
      return 0;
    }
    return runSimulator(options);
  } catch (const std::exception& error) {
    std::cerr << "Fehler: " << error.what() << "\n";
    return 1;
  }
}
