#include "devices/garmin/GarminRecords.h"

#include <cstdio>
#include <vector>

#include "flight/ApplicationTitle.h"

namespace quorvanta::garmin {

namespace {

struct Entry {
  char tag = '?';
  unsigned number = 0;
};

std::vector<Entry> entriesOf(std::string_view data) {
  std::vector<Entry> entries;
  for (std::size_t at = 0; at + 3 <= data.size(); at += 3) {
    Entry entry;
    const char tag = data[at];
    if (tag >= 'A' && tag <= 'Z') entry.tag = tag;
    entry.number = static_cast<std::uint8_t>(data[at + 1]) |
                   static_cast<unsigned>(static_cast<std::uint8_t>(data[at + 2])) << 8;
    entries.push_back(entry);
  }
  return entries;
}

std::string entryText(const Entry& entry) {
  char text[16];
  std::snprintf(text, sizeof text, "%c%03u", entry.tag, entry.number);
  return text;
}

std::string entryText(const Entry* entry) { return entry ? entryText(*entry) : "None"; }

bool isTransfer(const Entry& entry, unsigned group) {
  return entry.tag == 'A' && entry.number / 100 == group;
}

// A transfer protocol (A100 to A899 by hundreds) and the data types listed
// right after it, which belong to it.
struct Transfer {
  const Entry* protocol = nullptr;
  std::vector<const Entry*> data;

  const Entry* dataAt(std::size_t index) const {
    return index < data.size() ? data[index] : nullptr;
  }
};

Transfer findTransfer(const std::vector<Entry>& entries, unsigned group) {
  Transfer transfer;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (!isTransfer(entries[i], group)) continue;
    transfer.protocol = &entries[i];
    for (std::size_t d = i + 1; d < entries.size() && entries[d].tag == 'D'; ++d) {
      transfer.data.push_back(&entries[d]);
    }
    break;
  }
  return transfer;
}

const Entry* findFirst(const std::vector<Entry>& entries, char tag) {
  for (const Entry& entry : entries) {
    if (entry.tag == tag && (tag != 'A' || entry.number < 100)) return &entry;
  }
  return nullptr;
}

// Entries ahead of the first transfer protocol that are neither the
// physical, link nor command protocol (e.g. T001 of later units).
std::string unexplainedEntries(const std::vector<Entry>& entries) {
  std::string text;
  for (const Entry& entry : entries) {
    if (entry.tag == 'A' && entry.number >= 100) break;
    if (entry.tag == 'P' || entry.tag == 'L' || (entry.tag == 'A' && entry.number < 100)) {
      continue;
    }
    if (!text.empty()) text += ", ";
    text += entryText(entry);
  }
  return text.empty() ? "None" : text;
}

std::string simpleTransferLine(const std::vector<Entry>& entries, unsigned group,
                               std::string_view transferLabel, std::string_view dataLabel) {
  const Transfer transfer = findTransfer(entries, group);
  return std::string(transferLabel) + entryText(transfer.protocol) + std::string(dataLabel) +
         entryText(transfer.dataAt(0)) + "\n";
}

std::string routeLine(const std::vector<Entry>& entries) {
  const Transfer route = findTransfer(entries, 2);
  return "Route Transfer    : " + entryText(route.protocol) +
         ", Route Header  : " + entryText(route.dataAt(0)) +
         ", Route Data: " + entryText(route.dataAt(1)) +
         ", Route Link Data: " + entryText(route.dataAt(2)) + "\n";
}

// A track protocol with one data type has no header (A300 D300).
std::string trackLine(const Transfer& track) {
  const bool withHeader = track.data.size() >= 2;
  return "Track Transfer    : " + entryText(track.protocol) +
         ", Track Header  : " + entryText(withHeader ? track.dataAt(0) : nullptr) +
         ", Track Data: " + entryText(track.dataAt(withHeader ? 1 : 0)) + "\n";
}

std::string proximityLine(const std::vector<Entry>& entries) {
  const Transfer proximity = findTransfer(entries, 4);
  if (!proximity.protocol) return "Proximity Transfer: None, Proximity Data: None\n";
  return "Proximity Transfer: " + entryText(proximity.protocol) +
         ", Proximity Data: " + entryText(proximity.dataAt(0)) + "\n";
}

ProtocolFormats formatsOf(const Transfer& waypoints, const Transfer& track) {
  ProtocolFormats formats;
  formats.received = true;
  if (track.protocol) {
    formats.a300 = track.protocol->number == 300;
    formats.a301 = track.protocol->number == 301;
  }
  if (const Entry* data = waypoints.dataAt(0)) {
    formats.d100 = data->number == 100;
    formats.d107 = data->number == 107;
    formats.d108 = data->number == 108;
    formats.d154 = data->number == 154;
  }
  return formats;
}

}  // namespace

// Each transfer protocol is found by its number and followed by its own data
// types, so units that list more or fewer entries are still shown right.
RecordText protocolArrayText(std::string_view data, bool withHeading, ProtocolFormats& formats) {
  const std::vector<Entry> entries = entriesOf(data);
  const Transfer waypoints = findTransfer(entries, 1);
  const Transfer track = findTransfer(entries, 3);
  formats = formatsOf(waypoints, track);

  std::string lines =
      "Product Data      : A000, Physical      : " + entryText(findFirst(entries, 'P')) + "\n";
  lines += "Link              : " + entryText(findFirst(entries, 'L')) +
           ", Command       : " + entryText(findFirst(entries, 'A')) + "\n";
  lines += "Was ist das?      : " + unexplainedEntries(entries) + "\n";
  lines += simpleTransferLine(entries, 1, "Waypoint Transfer : ", ", Waypoint Data : ");
  lines += routeLine(entries);
  lines += trackLine(track);
  lines += proximityLine(entries);
  lines += simpleTransferLine(entries, 5, "Almanac Transfer  : ", ", Almanac Data  : ");
  lines += simpleTransferLine(entries, 6, "Date/Time Transfer: ", ", Date/Time Data: ");
  lines += simpleTransferLine(entries, 7, "Position Transfer : ", ", Position Data : ");
  lines += simpleTransferLine(entries, 8, "PVT Transfer      : ", ", PVT Data      : ");

  RecordText text;
  text.display = (withHeading ? "Protokoll Array:\n" : "") + lines;
  text.transcript = "Daten werden ausgelesen mit " + std::string(ApplicationTitle) + "\n" + lines;
  return text;
}

}  // namespace quorvanta::garmin
