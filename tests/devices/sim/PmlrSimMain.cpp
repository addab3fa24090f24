// A simulated MLR, Log_it! or Renschler instrument on a pseudo-terminal,
// started by hand, so that the download windows and the command-line
// download can be tried without one.

#include <iostream>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "devices/sim/PmlrUnit.h"
#include "devices/sim/PtyInstrument.h"
#include "devices/sim/SimMain.h"
#include "support/TestFiles.h"

namespace {

using namespace quorvanta::sim;

constexpr const char* Usage =
    "Aufruf: quorvanta-pmlr-sim --model mlr|logit|renschler [--flight DATEI.igc] [--points N]\n"
    "                           [--per-record N] [--damage LISTE] [--drop LISTE]\n"
    "                           [--faulty-transfers N] [--mode normal|silent] [--baud BAUD]\n"
    "                           [--pause-after BYTES] [--unplug-after BYTES]\n"
    "  --model            das Gerät: MLR, Log_it! oder Renschler\n"
    "  --flight           der Flug, dessen B-Records der Track sind\n"
    "                     (Vorgabe: xcscore_line.igc der Testdaten)\n"
    "  --points           so viele Punkte (mehr als der Flug hat: er wiederholt sich)\n"
    "  --per-record       Punkte je Datensatz (Vorgabe 25)\n"
    "  --damage, --drop   Datensätze mit falscher Prüfsumme bzw. ausgelassen, z. B. 5,17,end\n"
    "                     (1 ist der Startdatensatz, end der Endedatensatz)\n"
    "  --faulty-transfers so viele Übertragungen sind fehlerhaft (Vorgabe 1), danach vollständig\n"
    "  --mode             normal; silent: antwortet nicht\n"
    "  --baud             sendet nicht schneller als mit dieser Baudrate (Vorgabe: ungebremst)\n"
    "  --pause-after      nach so vielen Bytes eine Sekunde Pause\n"
    "  --unplug-after     nach so vielen Bytes das Kabel ziehen\n";

struct Options {
  bool modelGiven = false;
  PmlrUnit::Model model = PmlrUnit::Model::Mlr;
  std::string flight = quorvanta::test::realFlight("xcscore_line.igc").string();
  std::size_t points = 0, perRecord = PmlrUnit::DefaultPointsPerRecord;
  std::string damaged, dropped;
  PmlrFaults faults;
  int baud = 0;
  std::size_t pauseAfter = 0;
};

std::size_t count(const std::string& text) { return static_cast<std::size_t>(wholeNumber(text)); }

// "5,17,end": record numbers, "end" the end record.
std::set<int> recordList(const std::string& text, int endRecord) {
  std::set<int> numbers;
  std::istringstream items(text);
  for (std::string item; std::getline(items, item, ',');) {
    numbers.insert(item == "end" ? endRecord : static_cast<int>(count(item)));
  }
  return numbers;
}

PmlrUnit::Model model(const std::string& name) {
  if (name == "mlr") return PmlrUnit::Model::Mlr;
  if (name == "logit") return PmlrUnit::Model::LogIt;
  if (name == "renschler") return PmlrUnit::Model::Renschler;
  throw std::invalid_argument(name);
}

bool silent(const std::string& mode) {
  if (mode != "normal" && mode != "silent") throw std::invalid_argument(mode);
  return mode == "silent";
}

Options parseOptions(const std::vector<std::string>& args) {
  Options options;
  forEachOption(args, [&options](const std::string& option, const std::string& value) {
    if (option == "--model") {
      options.modelGiven = true;
      options.model = model(value);
    } else if (option == "--flight") {
      options.flight = value;
    } else if (option == "--points") {
      options.points = count(value);
    } else if (option == "--per-record") {
      options.perRecord = count(value);
      if (options.perRecord < 1 || options.perRecord > 255) throw std::invalid_argument(value);
    } else if (option == "--damage") {
      options.damaged = value;
    } else if (option == "--drop") {
      options.dropped = value;
    } else if (option == "--faulty-transfers") {
      options.faults.faultyTransfers = wholeNumber(value);
    } else if (option == "--mode") {
      options.faults.silent = silent(value);
    } else if (option == "--baud") {
      options.baud = wholeNumber(value);
    } else if (option == "--pause-after") {
      options.pauseAfter = count(value);
    } else if (option == "--unplug-after") {
      options.faults.unplugAfterBytes = count(value);
    } else {
      throw std::invalid_argument(option);
    }
  });
  if (!options.modelGiven) throw std::invalid_argument("--model");
  return options;
}

int run(const std::vector<std::string>& args) {
  Options options = parseOptions(args);
  StopSignals stop;

  std::vector<PmlrPoint> points = pmlrFlightPoints(options.flight, options.points);
  // The end record's number follows from the track; the lists may name it.
  const int endRecord = static_cast<int>(trackRecords(points, options.perRecord).size());
  options.faults.damaged = recordList(options.damaged, endRecord);
  options.faults.dropped = recordList(options.dropped, endRecord);
  PmlrUnit unit(options.model, std::move(points), options.faults, options.perRecord);
  PtyInstrument::Options line;
  line.bytesPerSecond = options.baud / 10;
  line.pauseAfterBytes = options.pauseAfter;
  line.pauseFor = std::chrono::seconds(1);
  PtyInstrument instrument(unit, line);
  const auto& path = instrument.slavePath();
  const char* instrumentName = options.model == PmlrUnit::Model::Renschler ? "renschler"
                               : options.model == PmlrUnit::Model::LogIt   ? "logit"
                                                                            : "mlr";
  announceSimulator("PMLR", path, std::string(instrumentName) + " --device " + path);
  std::cout << unit.identificationText() << ", " << unit.points().size() << " Punkte in "
            << unit.records().size() << " Datensätzen. Beenden mit Strg-C." << std::endl;
  stop.wait();
  std::cout << "Simulator beendet (" << instrument.bytesFromHost() << " Bytes empfangen, "
            << instrument.bytesToHost() << " Bytes gesendet, " << unit.trackRequests()
            << " Track-Anfragen)." << std::endl;
  return 0;
}

}  // namespace

int main(int argc, char** argv) { return simulatorMain(argc, argv, Usage, run); }
