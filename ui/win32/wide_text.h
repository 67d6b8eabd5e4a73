#pragma once

#include <string>
#include <string_view>

namespace zentor::ui::win32 {

// The program's texts are UTF-8; the window's wide calls take UTF-16. A malformed sequence
// becomes U+FFFD instead of ending the conversion.
std::wstring Wide(std::string_view text);
std::string Utf8(std::wstring_view text);

}  // namespace zentor::ui::win32
