#pragma once

#include <optional>
#include <string>

#include "flight/FlightRecord.h"
#include "optimize/OptimizationResult.h"

namespace quorvanta {

// The name offered for a claim file: beside the loaded IGC file with the
// same name, else the last claim file's name; ".olc" appended if missing.
std::string proposedClaimFileName(const std::string& trackFileName, const std::string& lastClaimFile);

// The name the pilot chose, with ".olc" appended unless it has one already.
std::string claimFileName(const std::string& chosen);

// The one line of form fields the contest reads: flight date, start and
// finish times and the five points of the best-scoring kind(s). Nothing when
// the last optimization found no route to claim.
std::optional<std::string> claimLine(const FlightRecord& record, const OptimizationResult& result);

// Writes the line ended by CR LF; on failure returns a German message.
std::optional<std::string> writeClaimFile(const std::string& path, const std::string& line);

}  // namespace quorvanta
