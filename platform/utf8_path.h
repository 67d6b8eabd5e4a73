// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace zentor::platform {

// Paths from and to the program's UTF-8 text. A std::filesystem::path made from a plain
// string reads it in the system's narrow encoding, which on Windows is the ANSI code page
// and cannot spell most names; char8_t text is UTF-8 on every system.
inline std::filesystem::path PathOfUtf8(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string Utf8OfPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace zentor::platform
