#pragma once

#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <string_view>

#include "app/cli/update_report.h"
#include "platform/file_system.h"

namespace zentor::app::cli {

// Writes a value on one line of its own. Texts that are not UTF-8 (a file name in another
// encoding) have their bad bytes replaced rather than ending the program.
void WriteJsonLine(std::ostream& out, const nlohmann::ordered_json& value);

// The update as JSON Lines on the output stream, one object per event, each with "event":
//   "step"      {"step": N, "text": T}    the information text of step N (with LF lines)
//   "phases"    {"step": N, "text": T}    the phase list, steps 5 to 10
//   "backup"    {"file": NAME}            the drive's firmware is saved under NAME, said as
//                                         soon as the file is there, whatever follows
//   "progress"  {"position": P, "range": R}
//   "message"   {"caption": C, "text": T} a message box
//   "result"    {"step": N, "completed": B, "exit_status": S[, "error": E]}, always last
class JsonReport final : public UpdateReport {
 public:
  // `backupFileName` is looked for in `files` once the backup has begun.
  JsonReport(std::ostream& out, const std::string& backupFileName, platform::FileSystem& files)
      : out_(out), backupFileName_(backupFileName), files_(files) {}

  void Information(int step, std::string_view text) override;
  void Progress(int position, int high) override;
  void Message(std::string_view caption, std::string_view text) override;
  void Result(int step, int exitStatus, std::string_view error) override;

 private:
  std::ostream& out_;
  // Names the backup once its file is there; the next event after the file was written
  // does, be it the transfer's start or the message that the firmware file cannot be read.
  void TellBackupWhenWritten();

  const std::string& backupFileName_;
  platform::FileSystem& files_;
  bool backupTold_ = false;
  int step_ = 0;
  int position_ = -1;
  int high_ = -1;
};

}  // namespace zentor::app::cli
