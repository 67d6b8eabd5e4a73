#pragma once

#include <ostream>

namespace zentor::app::cli {

// The progress bar on a stream: on a terminal one line redrawn in place, elsewhere (a log,
// a pipe) one plain line per position, "progress N/120".
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
};

}  // namespace zentor::app::cli
