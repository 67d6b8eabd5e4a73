#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "ui/dialog_view.h"

namespace zentor::ui {

// The prompt of the "Pass Type" option (template 134).
inline constexpr int kPasswordMaxLength = 16;
// Only this many leading characters are compared with the file's short id.
inline constexpr std::size_t kPasswordCompareLength = 8;

class PasswordDialog {
 public:
  // What the user typed and confirmed with Enter; empty when the prompt was cancelled.
  std::string passwordText;

  // Runs the prompt modally. Whether it ended with OK or cancel is not reported: a cancelled
  // prompt is an empty password.
  void Run(DialogView& view);
};

// Whether a typed password opens "Pass Type" for a file: its first eight characters equal
// the short id byte for byte, case-sensitive, untrimmed. A shorter text never matches, and
// a short id that no file has set (it holds a NUL) matches nothing.
bool PasswordMatches(std::string_view typed, const std::array<char, 9>& shortId);

}  // namespace zentor::ui
