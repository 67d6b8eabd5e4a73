// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/cli/terminal_report.h"

namespace zentor::app::cli {

std::string TerminalLines(std::string_view text) {
  std::string lines;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    lines += text[i];
  }
  return lines;
}

void TerminalReport::Information(int, std::string_view text) {
  progress_.Suspend();
  std::string lines = TerminalLines(text);
  if (!lines.ends_with('\n')) lines += '\n';
  // A blank line between texts: the phase lists look alike from one step to the next.
  out_ << lines << '\n' << std::flush;
  progress_.Resume();
}

void PrintMessageBox(std::ostream& err, std::string_view caption, std::string_view text) {
  err << caption << ": " << TerminalLines(text) << '\n' << std::flush;
}

void TerminalReport::Message(std::string_view caption, std::string_view text) {
  progress_.Suspend();
  PrintMessageBox(err_, caption, text);
  progress_.Resume();
}

void TerminalReport::Backup(std::string_view file) {
  progress_.Suspend();
  err_ << "zentor-cli: the drive's firmware is saved in " << file << '\n' << std::flush;
  progress_.Resume();
}

// The reason for an early end has been said on the error stream already.
void TerminalReport::Result(int, int, std::string_view) {
  progress_.Finish();
}

}  // namespace zentor::app::cli
