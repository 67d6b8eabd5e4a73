// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zentor::platform::linux_os {

// The contents of the named section of a 64-bit little-endian ELF file, or nothing when
// the file cannot be read, is not such a file, is damaged, or has no section of that name.
// Every offset is checked against the file's size before it is followed, and a section
// larger than `maxSize` is not read.
std::optional<std::vector<std::uint8_t>> ReadElfSection(const std::string& path,
                                                        std::string_view name,
                                                        std::size_t maxSize = 64 * 1024);

}  // namespace zentor::platform::linux_os
