// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/version_text.h"

#include <optional>

#include "resources/version_info.h"

namespace zentor::ui {
namespace {

constexpr std::string_view kVersionPrefix = "2003  Ver ";
constexpr std::string_view kPieceSeparators = ", ";
// The label holds nine characters after the prefix.
constexpr std::size_t kMaxVersionLength = 9;

std::optional<std::string> ProductVersionOf(platform::ProgramFile& program) {
  const std::vector<std::uint8_t> info = program.ReadVersionInfo(program.ProgramFilePath());
  if (info.empty()) return std::nullopt;
  return resources::QueryVersionValue(info, resources::kProductVersionKey);
}

}  // namespace

std::string VersionTextOf(std::string_view productVersion) {
  std::string joined;
  bool first = true;
  std::size_t at = productVersion.find_first_not_of(kPieceSeparators);
  while (at != std::string_view::npos) {
    const std::size_t end = productVersion.find_first_of(kPieceSeparators, at);
    joined += productVersion.substr(at, end - at);
    if (first) joined += '.';
    first = false;
    at = productVersion.find_first_not_of(kPieceSeparators, end);
  }
  joined.resize(std::min(joined.size(), kMaxVersionLength));
  return std::string(kVersionPrefix) + joined;
}

std::string BuildVersionText(platform::ProgramFile& program) {
  const std::optional<std::string> productVersion = ProductVersionOf(program);
  return productVersion ? VersionTextOf(*productVersion) : std::string();
}

std::string VersionLines(std::string_view programName, platform::ProgramFile& program) {
  const std::optional<std::string> productVersion = ProductVersionOf(program);
  if (!productVersion) return std::string(programName) + " (the program file carries no version)\n";
  return std::string(programName) + " " + *productVersion + "\n" + VersionTextOf(*productVersion) +
         "\n";
}

}  // namespace zentor::ui
