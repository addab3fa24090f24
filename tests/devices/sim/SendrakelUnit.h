#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "devices/sim/InstrumentModel.h"
#include "devices/sim/PtyInstrument.h"

namespace quorvanta::sim {

// The logger's track text for the B records of a real flight: its "ASRK" A
// record, the flight's date, pilot and glider lines, a "SendTrk" line and a
// G record of its own. `fixes` 0: all of them.
std::string sendrakelTrack(const std::filesystem::path& igcFile, int fixes = 0);

// A Sendrakel logger at the byte level: "$PSRK,STA", "IGC,n", "HEX,n",
// "DEL", "ON", "OFF" and "SET,aaaa,b". Track and hex answers go out
// `switchDelay` after the request, once the host has changed its speed.
class SendrakelUnit : public InstrumentModel {
 public:
  enum class Behaviour {
    Normal,
    Short,   // track and hex answers stop after half of their bytes
    Silent,  // nothing is ever answered
    Vanish,  // half a track or hex answer, then the cable is pulled
  };

  explicit SendrakelUnit(std::vector<std::string> tracks);
  ~SendrakelUnit() override;

  // The logger on a pseudo-terminal; lives as long as the unit.
  PtyInstrument& plugIn(PtyInstrument::Options options = {});

  void setBehaviour(Behaviour behaviour) { behaviour_ = behaviour; }
  std::string received(std::string_view bytesFromHost) override;
  bool unplugged() const override { return unplugged_; }

  // The settings memory as written by SET sentences.
  std::map<int, unsigned char> settingsMemory() const;
  int setWrites() const { return setWrites_; }
  std::vector<std::string> sentences() const;

  static constexpr std::chrono::milliseconds switchDelay{300};

 private:
  std::string answer(const std::string& sentence);
  std::string trackText() const;
  void later(std::string bytes);
  void sendLater();

  std::vector<std::string> tracks_;
  std::atomic<Behaviour> behaviour_ = Behaviour::Normal;
  std::string input_;
  mutable std::mutex mutex_;
  std::map<int, unsigned char> memory_;
  std::vector<std::string> sentences_;
  std::atomic<int> setWrites_ = 0;
  std::atomic<bool> unplugged_ = false;
  bool vanishAfterLater_ = false;

  std::unique_ptr<PtyInstrument> line_;
  std::condition_variable wake_;
  std::vector<std::pair<std::chrono::steady_clock::time_point, std::string>> pending_;
  bool stop_ = false;
  std::thread sender_;
};

}  // namespace quorvanta::sim
