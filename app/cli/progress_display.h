// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <ostream>

namespace zentor::app::cli {

// The progress bar on a stream: on a terminal one line redrawn in place, elsewhere (a log,
// a pipe) a plain line "progress N/120" each time the bar crosses another tenth of its
// range, and the last position when the update ends: a line per position would flood a log
// with hundreds.
class ProgressDisplay {
 public:
  ProgressDisplay(std::ostream& stream, bool live) : stream_(stream), live_(live) {}

  void Show(int position, int high);
  // Other output is about to appear on the terminal: the bar's line is cleared first and
  // drawn again by Resume.
  void Suspend();
  void Resume();
  // Ends the bar's line for good.
  void Finish();

  static constexpr int kCells = 40;

 private:
  void Draw();

  std::ostream& stream_;
  bool live_;
  bool drawn_ = false;
  int position_ = -1;
  int high_ = 0;
  int loggedTenth_ = 0;  // the tenth of the range the last logged line reached
  int loggedShown_ = -1;  // the position the last logged line showed
  bool positionLogged_ = true;
};

}  // namespace zentor::app::cli
