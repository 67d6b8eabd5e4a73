// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "platform/program_file.h"

namespace zentor::ui {

// The version label: "2003  Ver " and the product version with its pieces (split at commas
// and blanks) joined as first piece, ".", then the others run together: "8, 5, 1, 5" gives
// "8.515", "8.515" gives "8.515.". The joined text is cut to 9 characters.
std::string VersionTextOf(std::string_view productVersion);

// The label for the running program file: empty when the file carries no version
// information, or no product version in it.
std::string BuildVersionText(platform::ProgramFile& program);

// What --version prints, as command-line tools do: "NAME 8.515" (the product version as the
// program file carries it), then the version label on a line of its own.
std::string VersionLines(std::string_view programName, platform::ProgramFile& program);

}  // namespace zentor::ui
