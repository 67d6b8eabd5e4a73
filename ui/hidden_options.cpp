// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/control_ids.h"
#include "ui/flash_dialog.h"
#include "ui/password_dialog.h"
#include "update/identity_comparison.h"

namespace zentor::ui {

// "Pass Type" lets a file whose type code agrees with the drive's only in its first four
// characters go ahead. Ticking it asks for the file's short id; a wrong answer unticks it
// again without a word. "Update Loader" needs no handler: its state travels with the pull.
void FlashDialog::ConfirmPassType() {
  // The automatic check box has already toggled: unticking needs no password.
  if (view_.Check(kPassTypeCheckBox) != kChecked) return;

  PasswordDialog prompt;
  prompt.Run(view_);
  typedPassword = prompt.passwordText;

  if (!update::PasswordMatches(typedPassword, fileShortId)) {
    view_.SetCheck(kPassTypeCheckBox, kUnchecked);
    PushBoundFields();
  }
}

}  // namespace zentor::ui
