// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/cli/echoing_view.h"

#include "app/cli/terminal_report.h"
#include "ui/control_ids.h"

namespace zentor::app::cli {

void EchoingView::StartEcho(UpdateReport& report, const int& step,
                            const std::string& backupWritten) {
  report_ = &report;
  step_ = &step;
  backupWritten_ = &backupWritten;
  Report(Text(ui::kInformationText));
}

void EchoingView::SetText(int id, std::string_view text) {
  MemoryDialogView::SetText(id, text);
  // Every push of the bound fields sets the text again; only a change is news.
  if (report_ && id == ui::kInformationText && text != reported_) Report(text);
}

void EchoingView::TellBackup() {
  if (backupTold_ || backupWritten_->empty()) return;
  backupTold_ = true;
  report_->Backup(*backupWritten_);
}

void EchoingView::Report(std::string_view text) {
  TellBackup();
  reported_ = text;
  report_->Information(*step_, text);
}

void EchoingView::SetProgressPosition(int id, int position) {
  MemoryDialogView::SetProgressPosition(id, position);
  if (report_ && id == ui::kProgressBar) report_->Progress(position, Control(id).rangeHigh);
}

int EchoingView::ShowMessageBox(const ui::MessageBoxRequest& request) {
  if (report_) {
    TellBackup();
    report_->Message(request.caption, request.text);
  } else {
    PrintMessageBox(err_, request.caption, request.text);
  }
  return MemoryDialogView::ShowMessageBox(request);
}

}  // namespace zentor::app::cli
