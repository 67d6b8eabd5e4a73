// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "firmware/firmware_image.h"
#include "ui/dialog_view.h"

namespace zentor::ui {

// The prompt of the "Pass Type" option (template 134).
inline constexpr int kPasswordMaxLength = 16;

class PasswordDialog {
 public:
  // What the user typed and confirmed with Enter; empty when the prompt was cancelled.
  std::string passwordText;

  // Runs the prompt modally. Whether it ended with OK or cancel is not reported: a cancelled
  // prompt is an empty password.
  void Run(DialogView& view);
};

}  // namespace zentor::ui
