#pragma once

#include <cstdint>
#include <string>

#include "flight/OneBasedArray.h"

namespace quorvanta {

inline constexpr int MaxFixes = 16384;
inline constexpr int MaxHeaderLines = 20;
inline constexpr int MaxOtherLines = 20;
inline constexpr int MaxExtensions = 3;

template <typename T>
using FixArray = OneBasedArray<T, MaxFixes>;

// The one loaded flight. Per-fix arrays are 1-based and hold FixCount
// entries; entries above FixCount are stale. The IGC reader fills a record
// that its caller owns; the other parts read and update it in place.
struct FlightRecord {
  // Per fix
  FixArray<double> FixLat;  // radians, north positive
  FixArray<double> FixLon;  // radians, east positive
  FixArray<bool> FixValid;
  FixArray<double> FixTime;  // days since 30 December 1899 plus the fraction of the day
  FixArray<std::int32_t> FixAlt;
  FixArray<std::int32_t> FixGpsAlt;
  FixArray<std::int32_t> FixGroundAlt;
  OneBasedArray<FixArray<std::int32_t>, MaxExtensions> FixExt;  // FixExt[k][i]
  FixArray<std::string> FixText;
  std::int32_t FixCount = 0;

  // B-record extensions announced by the I record
  std::int32_t ExtCount = 0;
  OneBasedArray<std::int32_t, MaxExtensions> ExtStart;
  OneBasedArray<std::int32_t, MaxExtensions> ExtLen;
  OneBasedArray<std::string, MaxExtensions> ExtCode;

  // Lines of the file other than B records; lines beyond the capacity are
  // only counted.
  OneBasedArray<std::string, MaxHeaderLines> HeaderLines;
  OneBasedArray<std::int32_t, MaxHeaderLines> HeaderLineFix;  // fixes before the line
  std::int32_t HeaderLineCount = 0;
  std::int32_t DroppedHeaderLineCount = 0;
  OneBasedArray<std::string, MaxOtherLines> OtherLines;
  std::int32_t OtherLineCount = 0;
  std::int32_t DroppedOtherLineCount = 0;
  std::string ExtraHeaderLine;
  std::string FlightTitle;
  std::string TrackFileName;
  bool CsvTrack = false;  // FixText holds CSV fields, not B records

  // Time window shown by the barogram and related views
  std::int32_t ViewFirst = 0;
  std::int32_t ViewLast = 0;

  // Summary values
  std::int32_t MaxAlt = 0;
  std::int32_t MinAlt = 100000;
  std::int32_t MaxGroundAlt = 0;
  double MaxClimb = 0;  // m/s
  double MaxSink = 0;   // m/s, negative
  double MaxSpeed = 0;  // radians per day
  std::int32_t InvalidFixCount = 0;
  std::int32_t DroppedFixCount = 0;
  std::int32_t MaxPressureAlt = 0;

  // Flags and hand-over fields
  bool SignOnSave = true;
  bool DownloadDone = false;
  std::string DownloadedFile;
  std::string TempDir;
};

}  // namespace quorvanta
