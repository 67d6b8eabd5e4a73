// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "app/cli/progress_display.h"
#include "app/cli/update_report.h"

namespace zentor::app::cli {

// The update told on a terminal: each information text on the output stream, followed by a
// blank line; message boxes as "caption: text" and the progress bar on the error stream.
class TerminalReport final : public UpdateReport {
 public:
  TerminalReport(std::ostream& out, std::ostream& err, bool liveProgress)
      : out_(out), err_(err), progress_(err, liveProgress) {}

  void Information(int step, std::string_view text) override;
  void Progress(int position, int high) override { progress_.Show(position, high); }
  void Message(std::string_view caption, std::string_view text) override;
  void Backup(std::string_view file) override;
  void Result(int step, int exitStatus, std::string_view error) override;

 private:
  std::ostream& out_;
  std::ostream& err_;
  ProgressDisplay progress_;
};

// The dialog's texts break lines with CR LF; a terminal wants LF.
std::string TerminalLines(std::string_view text);

// A message box on a terminal: "caption: text".
void PrintMessageBox(std::ostream& err, std::string_view caption, std::string_view text);

}  // namespace zentor::app::cli
