// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string_view>

namespace zentor::app::cli {

// Where an update's news go while it runs: a terminal's texts or a script's JSON Lines.
class UpdateReport {
 public:
  virtual ~UpdateReport() = default;

  // The dialog's information text has changed; `step` is the WizardStep it shows.
  virtual void Information(int step, std::string_view text) = 0;
  virtual void Progress(int position, int high) = 0;
  virtual void Message(std::string_view caption, std::string_view text) = 0;
  // The drive's firmware is saved in this file (the name actually taken), said once, as soon
  // as the file stands, whatever follows.
  virtual void Backup(std::string_view file) = 0;
  // The update is over: the step it ended in and the program's exit status, with the reason
  // when the command line's own checks ended it (empty otherwise).
  virtual void Result(int step, int exitStatus, std::string_view error) = 0;
};

}  // namespace zentor::app::cli
