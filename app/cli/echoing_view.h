// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "app/cli/update_report.h"
#include "ui/memory_dialog_view.h"

namespace zentor::app::cli {

// The dialog without a window, told on a terminal or to a script. Until the update starts,
// every message box goes to the error stream at once, as "caption: text"; from then on every
// new information text, every move of the progress bar and every message box goes to the
// update's report.
class EchoingView final : public ui::MemoryDialogView {
 public:
  explicit EchoingView(std::ostream& err) : err_(err) {}

  // From now on the news go to `report`, starting with the information text shown now;
  // `step` is the dialog's WizardStep, which each text is shown for, and `backupWritten` the
  // dialog's name of the file its backup stands in: told once it is set, with the next text
  // or message box (the transfer's start, or why the update ended).
  void StartEcho(UpdateReport& report, const int& step, const std::string& backupWritten);

  void SetText(int id, std::string_view text) override;
  void SetProgressPosition(int id, int position) override;
  int ShowMessageBox(const ui::MessageBoxRequest& request) override;

 private:
  void Report(std::string_view text);
  void TellBackup();

  std::ostream& err_;
  UpdateReport* report_ = nullptr;
  const int* step_ = nullptr;
  const std::string* backupWritten_ = nullptr;
  bool backupTold_ = false;
  std::string reported_;
};

}  // namespace zentor::app::cli
