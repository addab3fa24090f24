#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "devices/sim/InstrumentModel.h"

namespace quorvanta::sim {

// Puts a simulated instrument on a pseudo-terminal: the program under test
// opens slavePath() as its serial port, a thread feeds what arrives on the
// master side to the instrument and writes its answers back. Both sides are
// raw from the start. The host may open and close the port as often as it
// likes; what the instrument sends while nobody has it open is lost, as on a
// real line.
class PtyInstrument {
 public:
  struct Options {
    int bytesPerSecond = 0;  // pacing of the answers, e.g. 960 for 9600 baud; 0: none
    // Once this many bytes have gone to the host, the line falls silent for
    // `pauseFor` (once): an instrument that stalls mid-answer. 0: never.
    std::size_t pauseAfterBytes = 0;
    std::chrono::milliseconds pauseFor{0};
  };

  // `unit` must outlive this object. Throws std::runtime_error when no
  // pseudo-terminal can be had.
  explicit PtyInstrument(InstrumentModel& unit, Options options);
  explicit PtyInstrument(InstrumentModel& unit) : PtyInstrument(unit, Options{}) {}
  ~PtyInstrument();
  PtyInstrument(const PtyInstrument&) = delete;
  PtyInstrument& operator=(const PtyInstrument&) = delete;

  const std::string& slavePath() const { return slavePath_; }

  // Sends bytes the host did not ask for, as an instrument does whose pilot
  // pressed its send button. Safe from any thread.
  void send(std::string bytes);

  // Closes the master side (the cable pulled): the host sees a hang-up.
  // Returns once it is closed, or after two seconds at most.
  void unplug();
  bool pluggedIn() const { return pluggedIn_; }

  std::size_t bytesFromHost() const { return bytesFromHost_; }
  std::size_t bytesToHost() const { return bytesToHost_; }

 private:
  using Clock = std::chrono::steady_clock;

  void run();
  int pollTimeoutMs(Clock::time_point now) const;
  void readFromHost();
  void writeToHost();
  void lineDown(Clock::time_point now);
  void closeMaster();
  void wake();
  void takeUnasked();

  InstrumentModel& unit_;
  Options options_;
  int master_ = -1;
  int wakeFd_ = -1;
  std::string slavePath_;
  std::string output_;
  std::string unasked_;  // guarded by mutex_
  bool paused_ = false;
  Clock::time_point nextSend_{};
  Clock::time_point idleUntil_{};
  std::optional<Clock::time_point> hangUpAt_;
  std::atomic<bool> stop_ = false;
  std::atomic<bool> unplugRequested_ = false;
  std::atomic<bool> pluggedIn_ = true;
  std::atomic<std::size_t> bytesFromHost_ = 0;
  std::atomic<std::size_t> bytesToHost_ = 0;
  std::mutex mutex_;
  std::condition_variable closed_;
  std::thread thread_;
};

}  // namespace quorvanta::sim
