#include "devices/sim/SendrakelUnit.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace quorvanta::sim {

namespace {

constexpr std::size_t SetSentenceSize = 18;  // "$PSRK,SET,aaaa,b" CR LF
constexpr std::size_t PageBytes = 623;

}  // namespace

std::string sendrakelTrack(const std::filesystem::path& igcFile, int fixes) {
  std::ifstream in(igcFile, std::ios::binary);
  std::string date = "HFDTE010103", line, records;
  int count = 0;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.starts_with("HFDTE") && line.size() >= 11) {
      const std::size_t digits = line.find_first_of("0123456789");
      if (digits != std::string::npos && line.size() >= digits + 6) date = "HFDTE" + line.substr(digits, 6);
    } else if (line.starts_with("B") && line.size() >= 35 && (fixes == 0 || count < fixes)) {
      records += line.substr(0, 35) + "\r\n";
      ++count;
    }
  }
  return "ASRK001 SENDRAKEL SIM\r\n" + date +
         "\r\nHFPLTPILOT: Logger Pilot\r\nHFGTYGLIDERTYPE: Logger Glider\r\n"
         "HFGIDGLIDERID: D-SRK1\r\nHFDTM100GPSDATUM: WGS-84\r\nLSRK SendTrk " +
         std::to_string(count) + "\r\n" + records +
         "GSRK5A3C0F1E2D4B6978\r\nGSRK8796B4D2E1F0C3A5\r\n";
}

SendrakelUnit::SendrakelUnit(std::vector<std::string> tracks)
    : tracks_(std::move(tracks)), sender_([this] { sendLater(); }) {}

SendrakelUnit::~SendrakelUnit() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  sender_.join();
  line_.reset();
}

PtyInstrument& SendrakelUnit::plugIn(PtyInstrument::Options options) {
  line_ = std::make_unique<PtyInstrument>(*this, options);
  return *line_;
}

std::string SendrakelUnit::received(std::string_view bytesFromHost) {
  input_ += bytesFromHost;
  std::string out;
  for (;;) {
    const std::size_t start = input_.find('$');
    if (start == std::string::npos) {
      input_.clear();
      break;
    }
    input_.erase(0, start);
    std::size_t length;
    if (input_.starts_with("$PSRK,SET,")) {
      if (input_.size() < SetSentenceSize) break;
      length = SetSentenceSize;
    } else {
      const std::size_t end = input_.find("\r\n");
      if (end == std::string::npos) break;
      length = end + 2;
    }
    const std::string sentence = input_.substr(0, length - 2);
    input_.erase(0, length);
    {
      std::lock_guard lock(mutex_);
      sentences_.push_back(sentence);
    }
    if (behaviour_ != Behaviour::Silent) out += answer(sentence);
  }
  return out;
}

std::string SendrakelUnit::trackText() const {
  std::string text;
  for (const std::string& track : tracks_) text += track;
  return text;
}

std::string SendrakelUnit::answer(const std::string& sentence) {
  if (sentence == "$PSRK,STA") {
    char used[64];
    std::snprintf(used, sizeof used, "DATAFLASH USED: %08zu PAGES\r\n",
                  trackText().size() / PageBytes + 1);
    return "SENDRAKEL SIM V1.0\r\n" + std::string(used) + "TRACKS: " + std::to_string(tracks_.size()) +
           "\r\nBATTERY 3.9V\r\n";
  }
  if (sentence.starts_with("$PSRK,IGC,")) {
    later(trackText());
    return {};
  }
  if (sentence.starts_with("$PSRK,HEX,")) {
    std::string memory = trackText();
    memory.resize((memory.size() / 257 + 1) * 257 + 40, '\xFF');
    later(memory);
    return {};
  }
  if (sentence == "$PSRK,DEL") {
    tracks_.clear();
    return "ALL TRACKS DELETED\r\n";
  }
  if (sentence == "$PSRK,ON") return "SENDRAKEL ON\r\n";
  if (sentence.starts_with("$PSRK,SET,") && sentence.size() == SetSentenceSize - 2) {
    const int address = std::stoi(sentence.substr(10, 4), nullptr, 16);
    std::lock_guard lock(mutex_);
    memory_[address] = static_cast<unsigned char>(sentence[15]);
    ++setWrites_;
    return "OK " + sentence.substr(10, 4) + "\r\n";
  }
  return {};
}

void SendrakelUnit::later(std::string bytes) {
  const Behaviour behaviour = behaviour_;
  if (behaviour == Behaviour::Short || behaviour == Behaviour::Vanish) bytes.resize(bytes.size() / 2);
  {
    std::lock_guard lock(mutex_);
    pending_.emplace_back(std::chrono::steady_clock::now() + switchDelay, std::move(bytes));
    vanishAfterLater_ = behaviour == Behaviour::Vanish;
  }
  wake_.notify_all();
}

void SendrakelUnit::sendLater() {
  std::unique_lock lock(mutex_);
  while (!stop_) {
    if (pending_.empty()) {
      wake_.wait(lock);
      continue;
    }
    const auto due = pending_.front().first;
    if (std::chrono::steady_clock::now() < due) {
      wake_.wait_until(lock, due);
      continue;
    }
    std::string bytes = std::move(pending_.front().second);
    pending_.erase(pending_.begin());
    const bool vanish = vanishAfterLater_;
    lock.unlock();
    if (line_) line_->send(std::move(bytes));
    if (vanish) unplugged_ = true;
    lock.lock();
  }
}

std::map<int, unsigned char> SendrakelUnit::settingsMemory() const {
  std::lock_guard lock(mutex_);
  return memory_;
}

std::vector<std::string> SendrakelUnit::sentences() const {
  std::lock_guard lock(mutex_);
  return sentences_;
}

}  // namespace quorvanta::sim
