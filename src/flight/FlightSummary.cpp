#include "flight/FlightSummary.h"

#include <algorithm>

#include "flight/Geodesy.h"

namespace quorvanta {

void computeSummaryValues(FlightRecord& record) {
  record.MaxAlt = 0;
  record.MinAlt = 100000;
  record.MaxGroundAlt = 0;
  record.MaxSpeed = 0;
  record.MaxClimb = 0;
  record.MaxSink = 0;
  for (int i = 5; i <= record.FixCount - 5; ++i) {
    record.MaxGroundAlt = std::max(record.MaxGroundAlt, record.FixGroundAlt[i]);
    record.MaxAlt = std::max(record.MaxAlt, record.FixAlt[i]);
    const double dt = record.FixTime[i + 1] - record.FixTime[i];
    if (dt != 0) {
      const double angle = ArcDistance(record.FixLat[i], record.FixLon[i], record.FixLat[i + 1],
                                       record.FixLon[i + 1]);
      record.MaxSpeed = std::max(record.MaxSpeed, angle / dt);
      const double climb =
          (static_cast<double>(record.FixAlt[i + 1]) - record.FixAlt[i]) / (dt * 24 * 3600);
      record.MaxClimb = std::max(record.MaxClimb, climb);
      record.MaxSink = std::min(record.MaxSink, climb);
    }
    if (record.FixAlt[i] > 0 && record.FixAlt[i] < record.MinAlt) record.MinAlt = record.FixAlt[i];
  }
}

}  // namespace quorvanta
