#include "app/cli/interrupt_shield.h"

#include <unistd.h>

#include <iterator>

namespace zentor::app::cli {
namespace {

constexpr char kNote[] =
    "\nzentor-cli: the drive is being updated and must not be interrupted; wait for the end\n";

extern "C" void NoteInterrupt(int) {
  // Only async-signal-safe calls here; a failed write is nothing to act on.
  [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, kNote, sizeof kNote - 1);
}

}  // namespace

InterruptShield::InterruptShield() {
  struct sigaction action {};
  action.sa_handler = NoteInterrupt;
  sigemptyset(&action.sa_mask);
  // Interrupted system calls carry on: the sleeps and the drive's requests are not cut.
  action.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < std::size(kSignals); ++i) {
    sigaction(kSignals[i], &action, &previous_[i]);
  }
}

InterruptShield::~InterruptShield() {
  for (std::size_t i = 0; i < std::size(kSignals); ++i) {
    sigaction(kSignals[i], &previous_[i], nullptr);
  }
}

}  // namespace zentor::app::cli
