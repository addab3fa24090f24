#pragma once

#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "flight/DownloadWriter.h"
#include "flight/IgcHeader.h"

namespace quorvanta::cli {

// The options of one "download" command: "--name value" pairs after the
// instrument's name.
struct DownloadArguments {
  std::map<std::string, std::string> options;

  std::string option(const std::string& name, const std::string& fallback = {}) const;
  bool has(const std::string& name) const { return options.count(name) > 0; }
};

// The options that fill the IGC header of a written flight.
extern const std::vector<std::string> HeaderOptions;
// Those of a flight recorder's file, which names pilot and glider itself.
extern const std::vector<std::string> RecorderHeaderOptions;

// The header as the download window would take it: the user's stored
// details with the given options over them, the directory from "--out-dir".
// A German list of what the header details dialog would refuse otherwise.
std::variant<IgcHeaderValues, std::string> headerFromArguments(const DownloadArguments& args,
                                                               bool fromFlightRecorder = false);

// Prints the written file's path on `out` and the status on `err`, or the
// error; returns the exit status.
int reportOutcome(const DownloadOutcome& outcome, std::ostream& out, std::ostream& err);

// Each instrument's download; the arguments are checked against its options.
int downloadGarmin(const DownloadArguments& args, std::ostream& out, std::ostream& err);
int downloadGalileo(const DownloadArguments& args, std::ostream& out, std::ostream& err);
int downloadSendrakel(const DownloadArguments& args, std::ostream& out, std::ostream& err);
// "mlr" and "logit" share one window; the identification tells them apart.
int downloadMlr(const DownloadArguments& args, std::ostream& out, std::ostream& err);
int downloadRenschler(const DownloadArguments& args, std::ostream& out, std::ostream& err);
// The barogram variometers: the barogram merged into "--flight", written to "-o".
int downloadIq(const DownloadArguments& args, std::ostream& out, std::ostream& err);
int downloadFlytec(const DownloadArguments& args, std::ostream& out, std::ostream& err);

}  // namespace quorvanta::cli
