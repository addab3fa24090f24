#pragma once

#include <string>
#include <string_view>

namespace quorvanta::garmin {

// How a record is reported: its lines for the display and for the transcript
// (either may be empty), each line ended by "\n". Decoders read only the
// bytes present: a short record gives shorter texts, never a read past its
// end, and no text from the unit can break a line.
struct RecordText {
  std::string display;
  std::string transcript;
};

// Formats the protocol array announced.
struct ProtocolFormats {
  bool received = false;
  bool a300 = false, a301 = false;                          // track transfer
  bool d100 = false, d107 = false, d108 = false, d154 = false;  // waypoint data
};

// Product data (255): the text, and the unit's description (description,
// " - ", product id) stored into `unitDescription`.
RecordText productDataText(std::string_view data, std::string& unitDescription);

// Protocol array (253): the lines by position, and the formats it names.
// `withHeading` adds the "Protokoll Array:" line to the display.
RecordText protocolArrayText(std::string_view data, bool withHeading, ProtocolFormats& formats);

RecordText dateTimeText(std::string_view data);                                // 14
RecordText waypointText(std::string_view data, const ProtocolFormats& formats);  // 35
RecordText routeHeaderText(std::string_view data);                             // 29
RecordText routeWaypointText(std::string_view data, const ProtocolFormats& formats);  // 30
RecordText almanacText(std::string_view data);                                 // 31

}  // namespace quorvanta::garmin
