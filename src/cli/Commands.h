#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "flight/FlightRecord.h"
#include "flight/IgcReader.h"

namespace quorvanta::cli {

// Reads a flight; on failure writes "FILE: message" to err and returns null.
std::unique_ptr<FlightRecord> loadFlight(const std::string& path, std::ostream& err,
                                         ReadResult* result = nullptr);

// Each command takes its arguments after the command name and returns the
// process exit status.
int infoCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int optimizeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int claimCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int signCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int verifyCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int saveCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int downloadCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int measureCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int scoreCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace quorvanta::cli
