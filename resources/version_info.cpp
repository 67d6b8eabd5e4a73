// SPDX-License-Identifier: GPL-2.0-or-later
#include "resources/version_info.h"

#include <algorithm>

namespace zentor::resources {
namespace {

// The NUL-terminated text at `at`, advancing past its NUL; nothing when no NUL follows.
std::optional<std::string_view> NextText(std::span<const std::uint8_t> block, std::size_t& at) {
  const auto begin = block.begin() + static_cast<std::ptrdiff_t>(at);
  const auto end = std::find(begin, block.end(), std::uint8_t{0});
  if (end == block.end()) return std::nullopt;
  const std::string_view text(reinterpret_cast<const char*>(block.data()) + at,
                              static_cast<std::size_t>(end - begin));
  at += text.size() + 1;
  return text;
}

}  // namespace

std::optional<std::string> QueryVersionValue(std::span<const std::uint8_t> block,
                                             std::string_view key) {
  std::size_t at = 0;
  while (at < block.size()) {
    const std::optional<std::string_view> entryKey = NextText(block, at);
    if (!entryKey || entryKey->empty()) return std::nullopt;
    const std::optional<std::string_view> value = NextText(block, at);
    if (!value) return std::nullopt;
    if (*entryKey == key) return std::string(*value);
  }
  return std::nullopt;
}

}  // namespace zentor::resources
