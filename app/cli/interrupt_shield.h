#pragma once

#include <csignal>

namespace zentor::app::cli {

// While it lives, Ctrl-C, Ctrl-\, a hang-up and a plain kill do not end the program: a drive
// left between erasing and programming its flash does not start again. Each such signal
// gets a note on stderr instead. Only SIGKILL (and a power cut) still ends the program.
class InterruptShield {
 public:
  InterruptShield();
  ~InterruptShield();
  InterruptShield(const InterruptShield&) = delete;
  InterruptShield& operator=(const InterruptShield&) = delete;

 private:
  static constexpr int kSignals[] = {SIGINT, SIGQUIT, SIGHUP, SIGTERM};
  struct sigaction previous_[sizeof kSignals / sizeof kSignals[0]];
};

}  // namespace zentor::app::cli
