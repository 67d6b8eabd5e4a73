// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDialog>

#include "resources/dialog_template.h"
#include "ui/dialog_view.h"

class QLineEdit;

namespace zentor::ui::qt {

// The password dialog of template 134: one masked edit and no buttons; Enter is OK, Esc or
// the close box cancel.
class PasswordPrompt final : public QDialog {
 public:
  PasswordPrompt(QWidget* owner, resources::TemplateLanguage language, int maxLength);

  // Runs modally and says how it closed, with the text typed.
  PasswordAnswer Run();
  QLineEdit* edit() const { return edit_; }

 private:
  QLineEdit* edit_ = nullptr;
};

}  // namespace zentor::ui::qt
