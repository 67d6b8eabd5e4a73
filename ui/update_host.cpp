// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/control_ids.h"
#include "ui/flash_dialog.h"

namespace zentor::ui {
void FlashDialog::SendProgressPosition() {
  view_.SetProgressPosition(kProgressBar, progressPosition);
}

std::string FlashDialog::SelectedDriveLabel() {
  return view_.ListEntry(kTargetDriveList, view_.ListSelection(kTargetDriveList));
}

std::string FlashDialog::SelectedSourceFile() {
  return view_.ListEntry(kSourceFileList, view_.ListSelection(kSourceFileList));
}

int FlashDialog::BackupBoxState() {
  return view_.Check(kBackupCheckBox);
}

int FlashDialog::PassTypeBoxState() {
  return view_.Check(kPassTypeCheckBox);
}

void FlashDialog::EnableNextStart(bool enabled) {
  view_.SetEnabled(kNextStartButton, enabled);
}

void FlashDialog::EnableClose(bool enabled) {
  view_.SetEnabled(kCloseButton, enabled);
}

// Shown in English whatever the language, like the program's other notices.
void FlashDialog::ShowBackupNotice() {
  view_.ShowMessageBox({"I could not back up the F/W in selected model. I continue the updating.",
                        "Back up", MessageIcon::Information, MessageButtons::Ok});
}

}  // namespace zentor::ui
