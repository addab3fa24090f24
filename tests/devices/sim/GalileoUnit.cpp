#include "devices/sim/GalileoUnit.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace quorvanta::sim {

namespace {

std::string checksum(std::string_view body) {
  unsigned sum = 0;
  for (const char c : body) sum ^= static_cast<unsigned char>(c);
  char hex[3];
  std::snprintf(hex, sizeof hex, "%02X", sum);
  return hex;
}

// A sentence "$BODY*HH" whose checksum matches, as its body; nothing otherwise.
std::optional<std::string> checkedBody(const std::string& sentence) {
  const auto star = sentence.rfind('*');
  if (!sentence.starts_with('$') || star == std::string::npos) return std::nullopt;
  const std::string body = sentence.substr(1, star - 1);
  if (sentence.substr(star + 1) != checksum(body)) return std::nullopt;
  return body;
}

std::string nmea(const std::string& body) { return "$" + body + "*" + checksum(body) + "\r\n"; }

}  // namespace

GalileoUnit::GalileoUnit(std::vector<std::string> track, Behaviour behaviour)
    : track_(std::move(track)), behaviour_(behaviour) {}

std::string GalileoUnit::trackAnswer() const {
  std::string text;
  for (const std::string& line : track_) {
    if (behaviour_ == Behaviour::NoDate && line.starts_with("HFDTE")) continue;
    if (behaviour_ == Behaviour::NoGRecord && line.starts_with('G')) continue;
    text += line + "\r\n";
  }
  return text;
}

std::string GalileoUnit::answer(const std::string& sentence) const {
  const auto body = checkedBody(sentence);
  if (!body || behaviour_ == Behaviour::Silent) return {};
  if (*body == "PBRSNP,") return nmea("PBRSNP,GALILEO,01234,V1.32");
  if (*body == "PBRIGC,") return trackAnswer();
  if (*body == "PBRWPS,") {
    return nmea("PBRWPS,4730.120,N,01112.340,E,WANK,Wank Gipfel,1780") +
           nmea("PBRWPS,4726.500,N,01106.900,E,GAPA,Garmisch Landeplatz,708");
  }
  if (*body == "PBRRTS,") return nmea("PBRRTS,1,1,WANK,GAPA");
  return {};
}

std::string GalileoUnit::received(std::string_view bytesFromHost) {
  if (unplugged_) return {};
  pending_ += bytesFromHost;
  std::string out;
  for (std::size_t end; (end = pending_.find("\r\n")) != std::string::npos;) {
    std::string sentence = pending_.substr(0, end);
    pending_.erase(0, end + 2);
    // The host's wake-up LF CR and flow-control bytes are no sentence.
    std::erase_if(sentence, [](char c) { return c == '\n' || c == '\r' || c == 0x11 || c == 0x13; });
    if (sentence.empty()) continue;
    sentences_.push_back(sentence);
    out += answer(sentence);
  }
  if (byteLimit_) {
    out.resize(std::min(out.size(), *byteLimit_ - std::min(*byteLimit_, bytesSent_)));
    if (bytesSent_ + out.size() >= *byteLimit_) unplugged_ = true;
  }
  bytesSent_ += out.size();
  return out;
}

std::vector<std::string> flightFileLines(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("kann " + path.string() + " nicht lesen");
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) {
    if (line.ends_with('\r')) line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

}  // namespace quorvanta::sim
