#include "devices/sim/PmlrUnit.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace quorvanta::sim {

namespace {

constexpr std::uint16_t LineEndNumber = 0x0D0A;  // "\r\n" as a point number
// Every this many point records one gets a point numbered LineEndNumber, so
// that every track, not only one longer than 3338 points, has records cut by
// a CR LF inside their data.
constexpr std::size_t LineEndEvery = 40;
constexpr std::size_t FirstLineEndRecord = 7;
constexpr std::uint8_t EightSatellites = 0x80;

// Days since 1 January 1970 of a civil date (Howard Hinnant's algorithm).
long daysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const long yoe = y - era * 400;
  const long doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

const long InstrumentEpochDays = daysFromCivil(1980, 1, 6);

int digits(const std::string& text, std::size_t at, std::size_t count) {
  return std::stoi(text.substr(at, count));
}

double degrees(const std::string& text, std::size_t at, std::size_t degreeDigits) {
  return digits(text, at, degreeDigits) + digits(text, at + degreeDigits, 5) / 60000.0;
}

// The record with another checksum, without adding a line end to it.
std::string damaged(std::string record) {
  const auto lineEnds = [](const std::string& bytes) {
    std::size_t count = 0;
    for (std::size_t at = 0; (at = bytes.find("\r\n", at)) != std::string::npos; ++at) ++count;
    return count;
  };
  const std::size_t before = lineEnds(record);
  for (const char mask : {'\x01', '\x02', '\x04'}) {
    std::string copy = record;
    copy.back() = static_cast<char>(copy.back() ^ mask);
    if (lineEnds(copy) == before && !copy.ends_with('\r')) return copy;
  }
  record.back() = static_cast<char>(record.back() ^ 0x10);
  return record;
}

int speedOf(std::string_view command) {
  if (command.find(",0110,") != std::string_view::npos) return 4800;
  if (command.find(",0101,") != std::string_view::npos) return 38400;
  if (command.find(",0102,") != std::string_view::npos) return 57600;
  return 19200;
}

}  // namespace

std::vector<PmlrPoint> pmlrFlightPoints(const std::filesystem::path& igcFile, std::size_t count) {
  std::ifstream file(igcFile, std::ios::binary);
  if (!file) throw std::runtime_error("kann " + igcFile.string() + " nicht lesen");
  std::vector<PmlrPoint> flight;
  long day = 0;
  std::uint32_t lastSeconds = 0;
  for (std::string line; std::getline(file, line);) {
    if (line.ends_with('\r')) line.pop_back();
    if (line.starts_with("HFDTE")) {
      const std::size_t at = line.find_first_of("0123456789");
      if (at == std::string::npos || line.size() < at + 6) continue;
      day = daysFromCivil(2000 + digits(line, at + 4, 2), digits(line, at + 2, 2), digits(line, at, 2)) -
            InstrumentEpochDays;
      lastSeconds = 0;
    } else if (line.starts_with('B') && line.size() >= 35) {
      PmlrPoint p;
      std::uint32_t seconds = static_cast<std::uint32_t>(
          day * 86400 + digits(line, 1, 2) * 3600 + digits(line, 3, 2) * 60 + digits(line, 5, 2));
      while (seconds < lastSeconds) seconds += 86400;  // past midnight without a new HFDTE
      lastSeconds = seconds;
      p.seconds = seconds;
      p.latDeg = degrees(line, 7, 2) * (line[14] == 'S' ? -1 : 1);
      const double lon = degrees(line, 15, 3);
      p.lonDeg = line[23] == 'W' && lon > 0 ? 360 - lon : lon;
      const int alt = std::max(0, std::stoi(line.substr(30, 5)));
      p.altDm = static_cast<std::uint32_t>(alt * 10 + static_cast<int>(flight.size() % 10));
      p.status = EightSatellites;
      flight.push_back(p);
    }
  }
  if (flight.empty()) throw std::runtime_error(igcFile.string() + " hat keine B-Records");
  std::vector<PmlrPoint> points;
  const std::size_t wanted = count == 0 ? flight.size() : count;
  for (std::size_t i = 0; i < wanted; ++i) {
    PmlrPoint p = flight[i % flight.size()];
    p.seconds += static_cast<std::uint32_t>(i / flight.size() * 86400);
    p.number = static_cast<std::uint16_t>(i + 1);
    if (i == 0) p.status |= 1;
    points.push_back(p);
  }
  return points;
}

PmlrUnit::PmlrUnit(Model model, std::vector<PmlrPoint> points, PmlrFaults faults,
                   std::size_t pointsPerRecord)
    : model_(model),
      points_(std::move(points)),
      faults_(std::move(faults)),
      pointsPerRecord_(std::clamp<std::size_t>(pointsPerRecord, 1, 255)) {
  for (std::size_t at = FirstLineEndRecord * pointsPerRecord_; at < points_.size();
       at += LineEndEvery * pointsPerRecord_) {
    points_[at].number = LineEndNumber;
  }
  records_ = trackRecords(points_, pointsPerRecord_);
}

std::string PmlrUnit::identificationText() const {
  switch (model_) {
    case Model::LogIt: return "LOG_IT 2.1 SN 4711 ";
    case Model::Renschler: return "SOL 1234 5678 ";
    case Model::Mlr: break;
  }
  return "MLR SP24 XC 0815 ";
}

std::vector<std::string> PmlrUnit::commands() const {
  std::lock_guard lock(mutex_);
  return commands_;
}

std::string PmlrUnit::track() {
  const bool faulty = ++trackRequests_ <= faults_.faultyTransfers;
  std::string bytes;
  for (std::size_t i = 0; i < records_.size(); ++i) {
    const int number = static_cast<int>(i) + 1;
    if (faulty && faults_.dropped.count(number) > 0) continue;
    bytes += unit(faulty && faults_.damaged.count(number) > 0 ? damaged(records_[i]) : records_[i]);
  }
  return bytes;
}

std::string PmlrUnit::answer(const std::string& command) {
  if (command == "$PMLR,26,01,01,0339") return identificationLine(identificationText());
  if (command.starts_with("$PMLR,24,02,")) {
    lastSpeed_ = speedOf(command);
    return track();
  }
  if (command == "$PMLR,99,00,02B5" && model_ == Model::LogIt) {
    points_.clear();
    records_ = trackRecords(points_, pointsPerRecord_);
  }
  return {};
}

std::string PmlrUnit::received(std::string_view bytesFromHost) {
  if (unplugged_) return {};
  pending_ += bytesFromHost;
  std::string out;
  for (std::size_t end; (end = pending_.find("\r\n")) != std::string::npos;) {
    std::string command = pending_.substr(0, end);
    pending_.erase(0, end + 2);
    // The host's wake-up LF CR is no command.
    std::erase_if(command, [](char c) { return c == '\n' || c == '\r'; });
    if (command.empty()) continue;
    {
      std::lock_guard lock(mutex_);
      commands_.push_back(command);
    }
    if (!faults_.silent) out += answer(command);
  }
  if (faults_.unplugAfterBytes > 0) {
    const std::size_t limit = faults_.unplugAfterBytes;
    out.resize(std::min(out.size(), limit - std::min(limit, bytesSent_)));
    if (bytesSent_ + out.size() >= limit) unplugged_ = true;
  }
  bytesSent_ += out.size();
  return out;
}

}  // namespace quorvanta::sim
