// SPDX-License-Identifier: GPL-2.0-or-later
#include "firmware/backup_name.h"
#include "firmware/file_identity.h"
#include "ui/control_ids.h"
#include "ui/flash_dialog.h"
#include "ui/wizard_step.h"

namespace zentor::ui {

// Chooses the backup's name whenever the box is ticked or a file is recognised while it is,
// so the name shown always fits the selected file and what is on disk now.
void FlashDialog::UpdateBackupName() {
  if (view_.Check(kBackupCheckBox) != kUnchecked) {
    const bool scrambled = firmware::RowIsScrambled(fileTypeIndex);
    if (std::optional<std::string> name = firmware::FreeBackupName(files_, scrambled)) {
      backupFileName = *name;
    } else {
      // All ten are taken: no backup will be made, so no name is shown either.
      view_.SetCheck(kBackupCheckBox, kUnchecked);
      backupFileName.clear();
      WizardStep = StepNoBackupName;
      ShowStep();
    }
  } else {
    backupFileName.clear();
  }
  PushBoundFields();
}

}  // namespace zentor::ui
