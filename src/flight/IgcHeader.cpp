#include "flight/IgcHeader.h"

#include <filesystem>
#include <system_error>

#include "flight/FieldText.h"

namespace quorvanta {

namespace {

struct HeaderKey {
  std::string_view key;
  std::string IgcHeaderValues::*value;
};

// In the order in which the configuration is saved.
constexpr std::array<HeaderKey, 8> HeaderKeys = {{
    {"PILOT", &IgcHeaderValues::pilot},
    {"GLIDERTYPE", &IgcHeaderValues::gliderType},
    {"GLIDERID", &IgcHeaderValues::gliderId},
    {"COMPETITIONID", &IgcHeaderValues::competitionId},
    {"CLASS", &IgcHeaderValues::competitionClass},
    {"SITE", &IgcHeaderValues::site},
    {"COMPID", &IgcHeaderValues::pilotId},
    {"PFAD", &IgcHeaderValues::directory},
}};

bool isPilotOwned(const HeaderKey& key) {
  return key.value == &IgcHeaderValues::pilot || key.value == &IgcHeaderValues::gliderType ||
         key.value == &IgcHeaderValues::gliderId;
}

std::string defaultFor(const HeaderKey& key) {
  if (key.value == &IgcHeaderValues::competitionId) return std::string(DefaultCompetitionId);
  if (key.value == &IgcHeaderValues::directory) return homeDirectory();
  return "";
}

bool hasLength(std::string_view text, std::size_t atLeast) {
  return characterCount(text) >= atLeast;
}

}  // namespace

IgcHeaderValues readIgcHeader(const SettingsStore& settings) {
  IgcHeaderValues values;
  for (const HeaderKey& key : HeaderKeys) {
    values.*key.value = settings.readString(IgcSection, key.key, defaultFor(key));
  }
  return values;
}

void saveIgcHeader(SettingsStore& settings, const IgcHeaderValues& values,
                   bool fromFlightRecorder) {
  for (const HeaderKey& key : HeaderKeys) {
    if (fromFlightRecorder && isPilotOwned(key)) continue;
    settings.writeString(IgcSection, key.key, values.*key.value);
  }
}

int classPosition(std::string_view classText) {
  for (std::size_t i = 0; i < CompetitionClasses.size(); ++i) {
    if (CompetitionClasses[i] == classText) return static_cast<int>(i) + 1;
  }
  return 1;
}

int steppedClassPosition(int position, int step) {
  const int count = static_cast<int>(CompetitionClasses.size());
  return ((position - 1 + step) % count + count) % count + 1;
}

std::string_view classAt(int position) {
  return CompetitionClasses[static_cast<std::size_t>(steppedClassPosition(position, 0) - 1)];
}

std::string pilotIdText(std::string_view text) {
  std::size_t end = 0;
  while (end < text.size() && ((text[end] >= 'A' && text[end] <= 'Z') ||
                               (text[end] >= 'a' && text[end] <= 'z'))) {
    ++end;
  }
  return std::string(text.substr(0, end));
}

std::string directoryValue(std::string_view pathText) {
  const std::size_t slash = pathText.rfind('/');
  std::string directory;
  if (slash == std::string_view::npos) {
    std::error_code error;
    directory = std::filesystem::current_path(error).string();
  } else {
    directory = std::string(pathText.substr(0, slash + 1));
  }
  while (!directory.empty() && directory.back() == ' ') directory.pop_back();
  if (directory.empty() || directory.back() != '/') directory += '/';
  return directory;
}

HeaderFieldChecks checkHeaderFields(const IgcHeaderValues& values, std::string_view pathText,
                                    bool fromFlightRecorder) {
  HeaderFieldChecks checks;
  checks.pilot = hasLength(values.pilot, 5);
  checks.gliderType = hasLength(values.gliderType, 5);
  checks.gliderId = hasLength(values.gliderId, 2);
  checks.competitionClass = hasLength(values.competitionClass, 5);
  checks.site = hasLength(values.site, 4);
  checks.competitionId = hasLength(values.competitionId, 5);
  checks.pilotId = pilotIdText(values.pilotId).size() == 4;
  std::error_code error;
  checks.directory = !pathText.empty() &&
                     std::filesystem::is_directory(std::string(pathText), error);
  checks.saveAllowed =
      (fromFlightRecorder || (checks.pilot && checks.gliderType && checks.gliderId)) &&
      checks.competitionClass && checks.site && checks.competitionId && checks.pilotId &&
      checks.directory;
  return checks;
}

}  // namespace quorvanta
