#pragma once

#include <array>
#include <string>
#include <string_view>

#include "flight/SettingsStore.h"

namespace quorvanta {

// What a downloaded flight's IGC header says that the instrument does not
// know; kept in the settings section "IGC".
struct IgcHeaderValues {
  std::string pilot;             // "PILOT"
  std::string gliderType;        // "GLIDERTYPE"
  std::string gliderId;          // "GLIDERID"
  std::string competitionClass;  // "CLASS"
  std::string site;              // "SITE"
  std::string competitionId;     // "COMPETITIONID"
  std::string pilotId;           // "COMPID": the four letters of the file name
  std::string directory;         // "PFAD": where the file goes, ending in "/"
};

inline constexpr std::string_view IgcSection = "IGC";
inline constexpr std::string_view DefaultCompetitionId = "DHV-OLC-2003";

// The stored values, each with its default where it is absent (the
// directory defaults to the home directory).
IgcHeaderValues readIgcHeader(const SettingsStore& settings);

// Stores the values; a flight recorder's file keeps the stored pilot, glider
// type and glider ID untouched.
void saveIgcHeader(SettingsStore& settings, const IgcHeaderValues& values,
                   bool fromFlightRecorder);

inline constexpr std::array<std::string_view, 6> CompetitionClasses = {
    "Paraglider open",          "Paraglider sport",         "Flexible Wing (FAI class 1)",
    "Rigid Wing (FAI class 5)", "Paraglider (FAI class 3)", "Paraglider Tandem",
};

// Position 1..6 of a class text in the list; 1 when it is none of them.
int classPosition(std::string_view classText);

// The position one step up (+1) or down (-1), wrapping round the list.
int steppedClassPosition(int position, int step);

std::string_view classAt(int position);

// The pilot ID cut before its first character that is not a letter A-Z/a-z.
std::string pilotIdText(std::string_view text);

// The directory part of a path text (up to its last "/"), trailing blanks
// removed, with a closing "/"; the current directory when there is none.
std::string directoryValue(std::string_view pathText);

struct HeaderFieldChecks {
  bool pilot = false, gliderType = false, gliderId = false;
  bool competitionClass = false, site = false, competitionId = false;
  bool pilotId = false, directory = false;
  bool saveAllowed = false;  // every field needed passes
};

// Checks each field for plausibility; `pathText` is the directory field as
// typed. A flight recorder's file needs no pilot, glider type or glider ID.
HeaderFieldChecks checkHeaderFields(const IgcHeaderValues& values, std::string_view pathText,
                                    bool fromFlightRecorder);

}  // namespace quorvanta
