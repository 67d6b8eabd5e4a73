#include "app/cli/echoing_view.h"

#include "ui/control_ids.h"

namespace zentor::app::cli {

std::string TerminalLines(std::string_view text) {
  std::string lines;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    lines += text[i];
  }
  return lines;
}

void EchoingView::StartEcho() {
  echo_ = true;
  PrintInformation(Text(ui::kInformationText));
}

void EchoingView::SetText(int id, std::string_view text) {
  MemoryDialogView::SetText(id, text);
  // Every push of the bound fields sets the text again; only a change is news.
  if (echo_ && id == ui::kInformationText && text != printed_) PrintInformation(text);
}

void EchoingView::PrintInformation(std::string_view text) {
  printed_ = text;
  progress_.Suspend();
  std::string lines = TerminalLines(text);
  if (!lines.ends_with('\n')) lines += '\n';
  // A blank line between texts: the phase lists look alike from one step to the next.
  out_ << lines << '\n' << std::flush;
  progress_.Resume();
}

void EchoingView::SetProgressPosition(int id, int position) {
  MemoryDialogView::SetProgressPosition(id, position);
  if (echo_ && id == ui::kProgressBar) progress_.Show(position, Control(id).rangeHigh);
}

int EchoingView::ShowMessageBox(const ui::MessageBoxRequest& request) {
  progress_.Suspend();
  err_ << request.caption << ": " << TerminalLines(request.text) << '\n' << std::flush;
  progress_.Resume();
  return MemoryDialogView::ShowMessageBox(request);
}

}  // namespace zentor::app::cli
