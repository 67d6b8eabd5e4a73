// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/cli/drive_choice.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace zentor::app::cli {
namespace {

std::optional<int> IndexIn(const std::string& text, std::size_t count) {
  std::size_t index = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), index);
  if (error != std::errc() || end != text.data() + text.size() || index >= count) {
    return std::nullopt;
  }
  return static_cast<int>(index);
}

}  // namespace

std::optional<int> ResolveDrive(const std::string& wanted, const std::vector<std::string>& list) {
  const bool number = !wanted.empty() && std::ranges::all_of(wanted, [](unsigned char c) {
    return std::isdigit(c) != 0;
  });
  if (number) return IndexIn(wanted, list.size());

  std::vector<int> starts;
  std::vector<int> whole;
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (!list[i].starts_with(wanted)) continue;
    starts.push_back(static_cast<int>(i));
    if (list[i].size() == wanted.size() || list[i][wanted.size()] == ' ') {
      whole.push_back(static_cast<int>(i));
    }
  }
  if (whole.size() == 1) return whole.front();
  if (whole.empty() && starts.size() == 1) return starts.front();
  return std::nullopt;
}

}  // namespace zentor::app::cli
