#include "support/PlausibleHeader.h"

namespace quorvanta::test {

IgcHeaderValues plausibleHeader(const std::filesystem::path& directory) {
  IgcHeaderValues values;
  values.pilot = "Erika Mustermann";
  values.gliderType = "Falke 13";
  values.gliderId = "4711";
  values.competitionClass = "Flexible Wing (FAI class 1)";
  values.site = "Wasserkuppe";
  values.competitionId = "DHV-OLC-2003";
  values.pilotId = "ERMU";
  values.directory = directory.string() + "/";
  return values;
}

}  // namespace quorvanta::test
