#pragma once

#include <termios.h>

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

namespace quorvanta::test {

// A pseudo-terminal standing in for an instrument: the port under test opens
// the slave's path, the test plays the instrument on the master. Both sides
// are raw from the start, so nothing is echoed or translated.
class PtyPair {
 public:
  PtyPair();
  ~PtyPair();
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  const std::string& slavePath() const { return slavePath_; }
  // The slave side as the test opened it: a second view of the port's line.
  termios slaveAttributes() const;

  // Sends all bytes from the instrument's side; false when they could not be
  // written within a second.
  bool send(std::string_view bytes);
  // What the port sent, until `count` bytes have come or `within` has passed.
  std::string receive(std::size_t count, std::chrono::milliseconds within);
  // The instrument's side goes away (the cable is pulled).
  void closeMaster();

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string slavePath_;
};

// Polls `condition` until it holds or `within` has passed.
bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds within);

}  // namespace quorvanta::test
