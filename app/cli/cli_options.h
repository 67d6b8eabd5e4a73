// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "app/demo_refusal.h"

namespace zentor::app::cli {

enum class Command { None, Drives, Files, Update, Samples };

// What the command line asks for.
struct CliOptions {
  Command command = Command::None;
  bool help = false;
  bool version = false;
  // The demo's virtual drives (in real time) instead of the system's.
  bool simulate = false;
  DemoRefusal refusal = DemoRefusal::None;
  // update: the target as an index into the drive list or the start of an entry, the
  // source file as it is listed, and whether to save the current firmware first.
  std::string drive;
  std::string file;
  bool backup = false;
  bool japanese = false;
  // drives, files, update: JSON for scripts instead of the texts.
  bool json = false;
};

struct ParsedCommandLine {
  std::optional<CliOptions> options;
  std::string error;  // what is wrong when there are no options
};

// Reads the arguments after the program name. Options may stand before or after the
// command, with their value after "=" or as the next argument.
ParsedCommandLine ParseCommandLine(std::span<const std::string_view> arguments);

}  // namespace zentor::app::cli
