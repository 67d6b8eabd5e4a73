#pragma once

#include <memory>

namespace zentor::app::cli {

// While it lives, Ctrl-C, Ctrl-\, a hang-up and a plain kill do not end the program (on
// Windows: Ctrl-C, Ctrl-Break and closing the console): a drive left between erasing and
// programming its flash does not start again. Each such signal gets a note on stderr
// instead. Only SIGKILL (and a power cut) still ends the program; Windows ends a program
// whose console is closed after a few seconds whatever it answers.
class InterruptShield {
 public:
  InterruptShield();
  ~InterruptShield();
  InterruptShield(const InterruptShield&) = delete;
  InterruptShield& operator=(const InterruptShield&) = delete;

 private:
  struct Saved;  // what the system had before, to put back
  std::unique_ptr<Saved> saved_;
};

}  // namespace zentor::app::cli
