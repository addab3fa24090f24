#include <ostream>

#include "cli/Commands.h"
#include "flight/FileContent.h"
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
  std::string content;
  if (const auto failure = readWholeFile(args[0], content)) {
    err << *failure << "\n";
    return 2;
  }
  switch (verifyGRecord(content)) {
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
