// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace zentor::platform::windows {

// Text inside the program is UTF-8; Windows' wide calls (file names, the command line, the
// console, the window) take UTF-16. The ANSI calls would read and write names in the
// system's code page instead, where most names outside ASCII cannot even be spelt. A malformed
// sequence becomes U+FFFD instead of ending the conversion.
std::wstring Wide(std::string_view text);
std::string Utf8(std::wstring_view text);

}  // namespace zentor::platform::windows
