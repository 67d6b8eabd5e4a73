#include "ui/password_dialog.h"

namespace zentor::ui {

void PasswordDialog::Run(DialogView& view) {
  passwordText.clear();
  const PasswordAnswer answer = view.RunPasswordDialog(kPasswordMaxLength);
  if (answer.accepted) passwordText = answer.text;
}

bool PasswordMatches(std::string_view typed, const firmware::ShortIdField& shortId) {
  if (typed.size() < firmware::kShortIdLength) return false;
  for (std::size_t at = 0; at < firmware::kShortIdLength; ++at) {
    if (shortId[at] == '\0' || typed[at] != shortId[at]) return false;
  }
  return true;
}

}  // namespace zentor::ui
