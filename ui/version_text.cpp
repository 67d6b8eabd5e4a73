#include "ui/version_text.h"

#include <optional>

#include "resources/version_info.h"

namespace zentor::ui {
namespace {

constexpr std::string_view kVersionPrefix = "2003  Ver ";
constexpr std::string_view kPieceSeparators = ", ";
// The label holds nine characters after the prefix.
constexpr std::size_t kMaxVersionLength = 9;

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
  const std::vector<std::uint8_t> info = program.ReadVersionInfo(program.ProgramFilePath());
  if (info.empty()) return {};
  const std::optional<std::string> productVersion =
      resources::QueryVersionValue(info, resources::kProductVersionKey);
  if (!productVersion) return {};
  return VersionTextOf(*productVersion);
}

}  // namespace zentor::ui
