#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "app/cli/progress_display.h"
#include "ui/memory_dialog_view.h"

namespace zentor::app::cli {

// The dialog without a window, told on a terminal: every message box goes to the error
// stream at once, and while echoing is on, every new information text goes to the output
// stream and every move of the progress bar to the progress display.
class EchoingView final : public ui::MemoryDialogView {
 public:
  EchoingView(std::ostream& out, std::ostream& err, ProgressDisplay& progress)
      : out_(out), err_(err), progress_(progress) {}

  // From now on the information text is printed, starting with the one shown now.
  void StartEcho();

  void SetText(int id, std::string_view text) override;
  void SetProgressPosition(int id, int position) override;
  int ShowMessageBox(const ui::MessageBoxRequest& request) override;

 private:
  void PrintInformation(std::string_view text);

  std::ostream& out_;
  std::ostream& err_;
  ProgressDisplay& progress_;
  bool echo_ = false;
  std::string printed_;
};

// The dialog's texts break lines with CR LF; a terminal wants LF.
std::string TerminalLines(std::string_view text);

}  // namespace zentor::app::cli
