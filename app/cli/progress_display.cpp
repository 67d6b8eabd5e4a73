// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/cli/progress_display.h"

#include <algorithm>
#include <string>

namespace zentor::app::cli {

// Moves to the start of the line and erases it.
constexpr const char* kClearLine = "\r\033[K";

// The position as the bar shows it: the program may report one past the bar's end (the
// blocks sent when the drive refused the flash start, or a bar left behind by a drive that
// went away), which a reader would take for a fault of the count.
int OnTheBar(int position, int high) {
  return std::clamp(position, 0, std::max(high, 0));
}

void ProgressDisplay::Show(int position, int high) {
  if (position == position_ && high == high_) return;
  const int tenth = high > 0 ? OnTheBar(position, high) * 10 / high : 0;
  // A bar that goes back has started anew (the next phase of the update).
  if (position < position_) loggedTenth_ = tenth;
  position_ = position;
  high_ = high;
  if (live_) {
    Draw();
  } else if (tenth > loggedTenth_) {
    loggedTenth_ = tenth;
    loggedShown_ = OnTheBar(position, high);
    stream_ << "progress " << loggedShown_ << '/' << high << '\n' << std::flush;
    positionLogged_ = true;
  } else {
    positionLogged_ = OnTheBar(position, high) == loggedShown_;
  }
}

void ProgressDisplay::Draw() {
  const int shown = OnTheBar(position_, high_);
  const int filled = high_ > 0 ? shown * kCells / high_ : 0;
  stream_ << kClearLine << '[' << std::string(filled, '#') << std::string(kCells - filled, '.')
          << "] " << shown << '/' << high_ << std::flush;
  drawn_ = true;
}

void ProgressDisplay::Suspend() {
  if (!live_ || !drawn_) return;
  stream_ << kClearLine << std::flush;
}

void ProgressDisplay::Resume() {
  if (live_ && drawn_) Draw();
}

void ProgressDisplay::Finish() {
  if (!live_ && !positionLogged_) {
    stream_ << "progress " << OnTheBar(position_, high_) << '/' << high_ << '\n' << std::flush;
    positionLogged_ = true;
  }
  if (!live_ || !drawn_) return;
  stream_ << '\n' << std::flush;
  drawn_ = false;
}

}  // namespace zentor::app::cli
