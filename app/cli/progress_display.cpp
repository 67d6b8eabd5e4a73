#include "app/cli/progress_display.h"

#include <algorithm>
#include <string>

namespace zentor::app::cli {

// Moves to the start of the line and erases it.
constexpr const char* kClearLine = "\r\033[K";

void ProgressDisplay::Show(int position, int high) {
  if (position == position_ && high == high_) return;
  position_ = position;
  high_ = high;
  if (!live_) {
    stream_ << "progress " << position << '/' << high << '\n' << std::flush;
    return;
  }
  Draw();
}

void ProgressDisplay::Draw() {
  const int shown = std::clamp(position_, 0, std::max(high_, 0));
  const int filled = high_ > 0 ? shown * kCells / high_ : 0;
  stream_ << kClearLine << '[' << std::string(filled, '#') << std::string(kCells - filled, '.')
          << "] " << position_ << '/' << high_ << std::flush;
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
  if (!live_ || !drawn_) return;
  stream_ << '\n' << std::flush;
  drawn_ = false;
}

}  // namespace zentor::app::cli
