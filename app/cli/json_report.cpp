// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/cli/json_report.h"

#include "app/cli/terminal_report.h"
#include "update/wizard_step.h"

namespace zentor::app::cli {

void WriteJsonLine(std::ostream& out, const nlohmann::ordered_json& value) {
  out << value.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n'
      << std::flush;
}

void JsonReport::Backup(std::string_view file) {
  WriteJsonLine(out_, {{"event", "backup"}, {"file", file}});
}

void JsonReport::Information(int step, std::string_view text) {
  const bool phases = step >= update::StepBackingUp && step <= update::StepFinalSum;
  WriteJsonLine(
      out_, {{"event", phases ? "phases" : "step"}, {"step", step}, {"text", TerminalLines(text)}});
}

void JsonReport::Progress(int position, int high) {
  if (position == position_ && high == high_) return;
  position_ = position;
  high_ = high;
  WriteJsonLine(out_, {{"event", "progress"}, {"position", position}, {"range", high}});
}

void JsonReport::Message(std::string_view caption, std::string_view text) {
  WriteJsonLine(out_, {{"event", "message"}, {"caption", caption}, {"text", TerminalLines(text)}});
}

void JsonReport::Result(int step, int exitStatus, std::string_view error) {
  nlohmann::ordered_json result = {{"event", "result"},
                                   {"step", step},
                                   {"completed", step == update::StepCompleted && exitStatus == 0},
                                   {"exit_status", exitStatus}};
  if (!error.empty()) result["error"] = error;
  WriteJsonLine(out_, result);
}

}  // namespace zentor::app::cli
