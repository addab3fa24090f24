#include <fstream>
#include <ostream>
#include <sstream>

#include "cli/Commands.h"
#include "flight/GRecord.h"

namespace quorvanta::cli {

int signCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 1) {
    err << "Aufruf: quorvanta-cli sign DATEI\n";
    return 2;
  }
  if (const auto failure = SignIgcFile(args[0])) {
    err << *failure << "\n";
    return 1;
  }
  out << "igc-File signiert\n";
  return 0;
}

// Exit status 0: valid; 1: invalid; 2: no G record (or no readable file).
int verifyCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 1) {
    err << "Aufruf: quorvanta-cli verify DATEI\n";
    return 2;
  }
  std::ifstream in(args[0], std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  if (!in) {
    err << "Die Datei „" << args[0] << "“ kann nicht gelesen werden.\n";
    return 2;
  }
  switch (verifyGRecord(content.str())) {
    case GRecordCheck::Valid:
      out << "Signatur gültig: die Datei ist unverändert.\n";
      return 0;
    case GRecordCheck::Invalid:
      out << "Signatur ungültig: die Datei wurde verändert oder nicht von Quorvanta signiert.\n";
      return 1;
    case GRecordCheck::Missing:
      break;
  }
  out << "Kein G-Record: die Datei ist nicht signiert.\n";
  return 2;
}

}  // namespace quorvanta::cli
