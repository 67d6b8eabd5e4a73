// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <string_view>

#include "app/cli/update_report.h"

namespace zentor::app::cli {

// Writes a value on one line of its own. Texts that are not UTF-8 (a file name in another
// encoding) have their bad bytes replaced rather than ending the program.
void WriteJsonLine(std::ostream& out, const nlohmann::ordered_json& value);

// The update as JSON Lines on the output stream, one object per event, each with "event":
//   "step"      {"step": N, "text": T}    the information text of step N (with LF lines)
//   "phases"    {"step": N, "text": T}    the phase list, steps 5 to 10
//   "backup"    {"file": NAME}            the drive's firmware is saved under NAME (the name
//                                         taken, which may be past the one chosen), said as
//                                         soon as the file stands, whatever follows
//   "progress"  {"position": P, "range": R}
//   "message"   {"caption": C, "text": T} a message box
//   "result"    {"step": N, "completed": B, "exit_status": S[, "error": E]}, always last
class JsonReport final : public UpdateReport {
 public:
  explicit JsonReport(std::ostream& out) : out_(out) {}

  void Information(int step, std::string_view text) override;
  void Progress(int position, int high) override;
  void Message(std::string_view caption, std::string_view text) override;
  void Backup(std::string_view file) override;
  void Result(int step, int exitStatus, std::string_view error) override;

 private:
  std::ostream& out_;
  int position_ = -1;
  int high_ = -1;
};

}  // namespace zentor::app::cli
