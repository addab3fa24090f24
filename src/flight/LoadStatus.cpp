#include "flight/LoadStatus.h"

#include "flight/NumberText.h"

namespace quorvanta {

namespace {

// The mean interval leaves out the first and last twenty fixes, so it needs
// at least 42 of them.
std::string dataRateText(const FlightRecord& record) {
  const int n = record.FixCount;
  if (n < 42) return "mittl. Datenrate: zu wenige Punkte";
  const double seconds = (record.FixTime[n - 20] - record.FixTime[20]) / (n - 41) * 24 * 3600;
  return "mittl. Datenrate: " + fixedText(seconds, 1, 3) + " sec je Punkt";
}

}  // namespace

LoadLabels loadStatusLabels(const FlightRecord& record) {
  LoadLabels labels;
  labels[0].text = std::to_string(record.FixCount) + " Track-Punkte aus Datei gelesen";
  if (record.DroppedFixCount > 0) {
    labels[1] = {"Achtung! " + std::to_string(record.DroppedFixCount) + " Punkte unberücksichtigt",
                 TextColour::Red};
  }
  labels[2].text = dataRateText(record);
  if (record.InvalidFixCount > 0) {
    labels[3] = {"Achtung: " + std::to_string(record.InvalidFixCount) + " unsichere Trackpunkte!!",
                 TextColour::Red};
  }
  return labels;
}

}  // namespace quorvanta
