// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zentor::resources {

// The version information a program file carries: a list of entries, each a key and a
// value, both NUL-terminated; an empty key ends the list. Keys are paths into the string
// table of one language and code page, as the platform the program comes from names them.
inline constexpr std::string_view kProductVersionKey = "\\StringFileInfo\\040904b0\\ProductVersion";

// The value stored under `key`, or nothing when the block has no such entry or is cut short.
std::optional<std::string> QueryVersionValue(std::span<const std::uint8_t> block,
                                             std::string_view key);

}  // namespace zentor::resources
