// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <algorithm>
#include <string_view>

namespace zentor::platform {

// File names and extensions are compared without regard to case, as on the platform the
// program comes from. Only ASCII letters fold: the result must not depend on the locale.
inline char FoldAsciiCase(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

inline bool EqualIgnoringCase(std::string_view left, std::string_view right) {
  return std::ranges::equal(left, right,
                            [](char a, char b) { return FoldAsciiCase(a) == FoldAsciiCase(b); });
}

inline bool LessIgnoringCase(std::string_view left, std::string_view right) {
  return std::ranges::lexicographical_compare(left, right, [](char a, char b) {
    return static_cast<unsigned char>(FoldAsciiCase(a)) <
           static_cast<unsigned char>(FoldAsciiCase(b));
  });
}

}  // namespace zentor::platform
