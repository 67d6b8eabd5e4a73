// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/qt/password_prompt.h"

#include <QLineEdit>

#include "ui/qt/control_widgets.h"
#include "ui/qt/dialog_units.h"
#include "ui/qt/template_font.h"

namespace zentor::ui::qt {

PasswordPrompt::PasswordPrompt(QWidget* owner, resources::TemplateLanguage language, int maxLength)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint) {
  const resources::DialogTemplate& dialog = resources::PasswordDialogTemplate();
  setFont(TemplateFont(language, dialog.fontPointSize));
  const BaseUnits units = BaseUnitsOf(font());
  setWindowTitle(
      QString::fromUtf8(dialog.caption.data(), static_cast<qsizetype>(dialog.caption.size())));
  setFixedSize(ToPixels(units, dialog.width, dialog.height));
  setModal(true);

  for (const resources::ControlTemplate& control : dialog.controls) {
    QWidget* widget = MakeControlWidget(control, this);
    widget->setGeometry(ToPixels(units, control.x, control.y, control.width, control.height));
    if (auto* line = qobject_cast<QLineEdit*>(widget)) edit_ = line;
  }
  edit_->setMaxLength(maxLength);
  edit_->setFocus();
  connect(edit_, &QLineEdit::returnPressed, this, &QDialog::accept);
}

PasswordAnswer PasswordPrompt::Run() {
  const bool accepted = exec() == QDialog::Accepted;
  return {accepted, accepted ? edit_->text().toStdString() : std::string()};
}

}  // namespace zentor::ui::qt
