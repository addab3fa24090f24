#include <iostream>
#include <string>
#include <vector>

#include "cli/CommandGuard.h"
#include "cli/Commands.h"

namespace {

constexpr const char* Usage =
    "Aufruf: quorvanta-cli BEFEHL ...\n"
    "Befehle:\n"
    "  info DATEI [--fixes]   Flug lesen und als JSON ausgeben\n"
    "  optimize DATEI [--budget 512|1024|2048|4096|8192]\n"
    "                         optimale Wendepunkte suchen, Ergebnis als JSON\n"
    "  measure DATEI          Start - Ziel und Gesamtstrecke ausgeben\n"
    "  score DATEI [--rules xcontest|ffvl|fai|olc2003] [--json] [--max-seconds S]\n"
    "                         exakte Wertung über alle Punkte nach Wettbewerbsregeln\n"
    "  claim DATEI [--budget N] -o AUSGABE.olc\n"
    "                         optimieren und OLC-Datei schreiben\n"
    "  save DATEI AUSGABE.igc [--baro BAROGRAMM.cmp [--sync start|end|none|±hh:mm:ss]]\n"
    "                         Flug als IGC-Datei schreiben, wahlweise mit Barogramm\n"
    "  sign DATEI             G-Record an eine IGC-Datei anhängen\n"
    "  verify DATEI           G-Record prüfen (0 gültig, 1 ungültig, 2 keiner)\n"
    "  download garmin --device GERÄT [--out-dir VERZEICHNIS] [--pilot TEXT] ...\n"
    "                         Track aus einem Garmin-GPS lesen und signiert speichern\n"
    "  download galileo --device GERÄT [--out-dir VERZEICHNIS] [--site TEXT] ...\n"
    "                         gewählten Flug aus einem Bräuniger Galileo lesen und speichern\n"
    "  download sendrakel --device GERÄT [--track N] [--speed 0..4] ...\n"
    "                         Track aus einem Sendrakel-Logger lesen und speichern\n"
    "  download mlr|logit|renschler --device GERÄT [--speed BAUD] [--from HH:MM:SS] ...\n"
    "                         Track aus einem MLR, Log_it! oder Renschler-Gerät lesen und speichern\n"
    "  download iq|flytec --device GERÄT --flight FLUG.igc -o AUSGABE.igc [--sync ...] ...\n"
    "                         Barogramm eines Varios in einen Flug übernehmen und speichern\n";

int runCommand(const std::vector<std::string>& args) {
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (args[0] == "info") return quorvanta::cli::infoCommand(rest, std::cout, std::cerr);
  if (args[0] == "optimize") return quorvanta::cli::optimizeCommand(rest, std::cout, std::cerr);
  if (args[0] == "claim") return quorvanta::cli::claimCommand(rest, std::cout, std::cerr);
  if (args[0] == "save") return quorvanta::cli::saveCommand(rest, std::cout, std::cerr);
  if (args[0] == "sign") return quorvanta::cli::signCommand(rest, std::cout, std::cerr);
  if (args[0] == "verify") return quorvanta::cli::verifyCommand(rest, std::cout, std::cerr);
  if (args[0] == "download") return quorvanta::cli::downloadCommand(rest, std::cout, std::cerr);
  if (args[0] == "measure") return quorvanta::cli::measureCommand(rest, std::cout, std::cerr);
  if (args[0] == "score") return quorvanta::cli::scoreCommand(rest, std::cout, std::cerr);
  std::cerr << "Unbekannter Befehl „" << args[0] << "“\n" << Usage;
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    std::cerr << Usage;
    return 2;
  }
  return quorvanta::cli::guardedCommand([&args] { return runCommand(args); }, std::cerr);
}
