// A simulated Garmin unit on a pseudo-terminal, started by hand, so that the
// download window and the command-line download can be tried without one.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "devices/sim/GarminScriptWriter.h"
#include "devices/sim/GarminUnit.h"
#include "devices/sim/PtyInstrument.h"
#include "devices/sim/SimMain.h"

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

Options parseOptions(const std::vector<std::string>& args) {
  Options options;
  forEachOption(args, [&options](const std::string& option, const std::string& value) {
    if (option == "--scripts")
      options.scripts = value;
    else if (option == "--format" && (value == "d301" || value == "d300"))
      options.format = value == "d301" ? TrackFormat::D301 : TrackFormat::D300;
    else if (option == "--track-points" && wholeNumber(value) < 0xFFFF)
      options.trackPoints = wholeNumber(value);
    else if (option == "--baud")
      options.baud = wholeNumber(value);
    else if (option == "--write-scripts")
      options.writeScripts = value;
    else
      throw std::invalid_argument(option);
  });
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

int run(const std::vector<std::string>& args) {
  const Options options = parseOptions(args);
  if (!options.writeScripts.empty()) {
    writeScripts(options.writeScripts);
    return 0;
  }
  StopSignals stop;
  GarminUnit unit(unitScript(options));
  PtyInstrument instrument(unit, {options.baud / 10});
  announceSimulator("Garmin", instrument.slavePath(), "garmin --device " + instrument.slavePath());
  std::cout << "Beenden mit Strg-C." << std::endl;
  stop.wait();
  std::cout << "Simulator beendet (" << instrument.bytesFromHost() << " Bytes empfangen, "
            << instrument.bytesToHost() << " Bytes gesendet)." << std::endl;
  return 0;
}

}  // namespace

int main(int argc, char** argv) { return simulatorMain(argc, argv, Usage, run); }
