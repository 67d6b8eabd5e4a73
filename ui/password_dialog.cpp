// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/password_dialog.h"

namespace zentor::ui {

void PasswordDialog::Run(DialogView& view) {
  passwordText.clear();
  const PasswordAnswer answer = view.RunPasswordDialog(kPasswordMaxLength);
  if (answer.accepted) passwordText = answer.text;
}

}  // namespace zentor::ui
