#pragma once

#include <csignal>
#include <exception>
#include <functional>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

// What the simulators started by hand share: their frame of main, the wait
// for Ctrl-C and the line that tells how to reach them.
namespace quorvanta::sim {

// A whole number of at least 0; std::invalid_argument otherwise.
inline int wholeNumber(const std::string& text) {
  std::size_t used = 0;
  const int value = std::stoi(text, &used);
  if (used != text.size() || value < 0) throw std::invalid_argument(text);
  return value;
}

// Calls `option(name, value)` for each "--name value" pair of `args`; an
// option it does not know throws std::invalid_argument.
inline void forEachOption(const std::vector<std::string>& args,
                          const std::function<void(const std::string&, const std::string&)>& option) {
  for (std::size_t i = 0; i < args.size(); i += 2) {
    if (i + 1 >= args.size()) throw std::invalid_argument(args[i]);
    option(args[i], args[i + 1]);
  }
}

// Ctrl-C and SIGTERM, blocked from construction on so that the simulator's
// threads, started later, never take them; wait() returns on either.
class StopSignals {
 public:
  StopSignals() {
    sigemptyset(&signals_);
    sigaddset(&signals_, SIGINT);
    sigaddset(&signals_, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals_, nullptr);
  }
  void wait() {
    int signal = 0;
    sigwait(&signals_, &signal);
  }

 private:
  sigset_t signals_{};
};

inline void announceSimulator(const std::string& instrument, const std::string& path,
                              const std::string& cliArguments) {
  std::cout << instrument << "-Simulator an " << path << "\n"
            << "Im Programm: in ~/.config/Quorvanta/Quorvanta.ini unter [Serial] COM1=" << path
            << " eintragen und \"COM 1\" wählen, oder: quorvanta-cli download " << cliArguments
            << "\n";
}

// Runs `run` with the arguments; a bad argument prints the usage and gives
// 2, any other failure its message and 1.
inline int simulatorMain(int argc, char** argv, const char* usage,
                         const std::function<int(const std::vector<std::string>&)>& run) {
  try {
    return run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::invalid_argument&) {
    std::cerr << usage;
    return 2;
  } catch (const std::exception& error) {
    std::cerr << "Fehler: " << error.what() << "\n";
    return 1;
  }
}

}  // namespace quorvanta::sim
