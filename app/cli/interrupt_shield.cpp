// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/cli/interrupt_shield.h"

#include <unistd.h>

#include <csignal>
#include <iterator>

namespace zentor::app::cli {
namespace {

constexpr char kNote[] =
    "\nzentor-cli: the drive is being updated and must not be interrupted; wait for the end\n";
constexpr int kSignals[] = {SIGINT, SIGQUIT, SIGHUP, SIGTERM};

extern "C" void NoteInterrupt(int) {
  // Only async-signal-safe calls here; a failed write is nothing to act on.
  [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, kNote, sizeof kNote - 1);
}

}  // namespace

struct InterruptShield::Saved {
  struct sigaction previous[std::size(kSignals)];
};

InterruptShield::InterruptShield() : saved_(std::make_unique<Saved>()) {
  struct sigaction action {};
  action.sa_handler = NoteInterrupt;
  sigemptyset(&action.sa_mask);
  // Interrupted system calls carry on: the sleeps and the drive's requests are not cut.
  action.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < std::size(kSignals); ++i) {
    sigaction(kSignals[i], &action, &saved_->previous[i]);
  }
}

InterruptShield::~InterruptShield() {
  for (std::size_t i = 0; i < std::size(kSignals); ++i) {
    sigaction(kSignals[i], &saved_->previous[i], nullptr);
  }
}

}  // namespace zentor::app::cli
