#include <algorithm>
#include <ostream>
#include <string>

#include "cli/Commands.h"
#include "cli/DownloadArguments.h"

namespace quorvanta::cli {

namespace {

constexpr const char* DownloadUsage =
    "Aufruf: quorvanta-cli download GERÄTETYP --device GERÄT [--transcript DATEI] ...\n"
    "  garmin [--out-dir VERZEICHNIS] [--pilot TEXT] [--glider-type TEXT] [--glider-id TEXT]\n"
    "         [--competition-id TEXT] [--class TEXT] [--site TEXT] [--compid XXXX]\n"
    "  galileo [--out-dir VERZEICHNIS] [--competition-id TEXT] [--class TEXT] [--site TEXT]\n"
    "          [--compid XXXX]\n"
    "  sendrakel [--track N] [--speed 0..4] [--names logger|own] [--out-dir VERZEICHNIS]\n"
    "            [--pilot TEXT] [--glider-type TEXT] [--glider-id TEXT] [--competition-id TEXT]\n"
    "            [--class TEXT] [--site TEXT] [--compid XXXX]\n"
    "  mlr|logit|renschler [--speed BAUD] [--from HH:MM:SS] [--to HH:MM:SS] [--date JJJJ-MM-TT]\n"
    "            [--out-dir VERZEICHNIS] [--pilot TEXT] [--glider-type TEXT] [--glider-id TEXT]\n"
    "            [--competition-id TEXT] [--class TEXT] [--site TEXT] [--compid XXXX]\n"
    "  iq --flight FLUG.igc -o AUSGABE.igc [--sync start|end|none|±hh:mm:ss] [--wait SEKUNDEN]\n"
    "  flytec --flight FLUG.igc -o AUSGABE.igc [--sync start|end|none|±hh:mm:ss] [--track N]\n";

struct DownloadInstrument {
  const char* name;
  std::vector<std::string> options;  // besides "--device" and "--transcript"
  int (*run)(const DownloadArguments&, std::ostream&, std::ostream&);
};

std::vector<std::string> withOptions(std::vector<std::string> options,
                                     std::initializer_list<const char*> more) {
  options.insert(options.end(), more.begin(), more.end());
  return options;
}

const std::vector<DownloadInstrument>& instruments() {
  static const std::vector<DownloadInstrument> known = {
      {"garmin", HeaderOptions, downloadGarmin},
      {"galileo", RecorderHeaderOptions, downloadGalileo},
      {"sendrakel", withOptions(HeaderOptions, {"--track", "--speed", "--names"}), downloadSendrakel},
      {"mlr", withOptions(HeaderOptions, {"--speed", "--from", "--to", "--date"}), downloadMlr},
      {"logit", withOptions(HeaderOptions, {"--speed", "--from", "--to", "--date"}), downloadMlr},
      {"renschler", withOptions(HeaderOptions, {"--speed", "--from", "--to", "--date"}), downloadRenschler},
      {"iq", {"--flight", "-o", "--sync", "--wait"}, downloadIq},
      {"flytec", {"--flight", "-o", "--sync", "--track"}, downloadFlytec},
  };
  return known;
}

bool allowed(const DownloadInstrument& instrument, const std::string& name) {
  return name == "--device" || name == "--transcript" ||
         std::find(instrument.options.begin(), instrument.options.end(), name) !=
             instrument.options.end();
}

// "--name value" pairs known to the instrument (a repeated one counts last),
// and a device.
bool parse(const DownloadInstrument& instrument, const std::vector<std::string>& args,
           DownloadArguments& parsed) {
  if (args.size() % 2 != 1) return false;
  for (std::size_t k = 1; k < args.size(); k += 2) {
    if (!allowed(instrument, args[k])) return false;
    parsed.options[args[k]] = args[k + 1];
  }
  return !parsed.option("--device").empty();
}

}  // namespace

int downloadCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const auto& known = instruments();
  const auto instrument = std::find_if(known.begin(), known.end(), [&args](const auto& entry) {
    return !args.empty() && args[0] == entry.name;
  });
  DownloadArguments parsed;
  if (instrument == known.end() || !parse(*instrument, args, parsed)) {
    err << DownloadUsage;
    return 2;
  }
  return instrument->run(parsed, out, err);
}

}  // namespace quorvanta::cli
