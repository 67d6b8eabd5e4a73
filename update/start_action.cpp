// SPDX-License-Identifier: GPL-2.0-or-later
#include <optional>
#include <string>

#include "update/identity_comparison.h"
#include "update/updater.h"
#include "update/wizard_step.h"

namespace zentor::update {

void Updater::RunStartAction() {
  // With no drive listed there is nothing to address: an empty label would read as device
  // or target 0, which may be a drive the scan did not accept, and vendor commands must
  // never reach one of those.
  const std::string label = host_.SelectedDriveLabel();
  state_.backupWritten.clear();
  if (!label.empty()) drives_.ParseDriveLabel(label);
  // The drive is claimed before the first vendor command and kept until the device is
  // closed below: a second update of it, or any program talking to it meanwhile, would
  // leave its flash holding a mix of two images. For as long, the machine is kept from
  // sleeping and shutting down, which would cut the flash just the same; with no drive to
  // claim it is not asked (the system's answer may take seconds).
  std::optional<platform::DriveInUse> inUse;
  {
    const auto hold = label.empty() ? nullptr : keeper_.KeepMachineUp();
    if (label.empty() || !drives_.ClaimDrive(inUse) || IdentifyDrive() == 0) {
      state_.WizardStep = StepNoUpdateMode;
    } else if (!IdentitiesMatch(state_, image_, host_.PassTypeBoxState())) {
      state_.WizardStep = StepTypeCodeDiffers;
    } else {
      // From here the drive may be read and written: no second Start, and no closing the
      // dialog in the middle, not even while a message box is open.
      host_.EnableNextStart(false);
      host_.EnableClose(false);
      bool backupFailed = false;
      if (host_.BackupBoxState() != 0) {
        if (state_.FlashReadUnsupported == 1) {
          host_.ShowBackupNotice();
        } else if (BackupFirmware() == 0) {
          backupFailed = true;
        }
      }
      if (backupFailed) {
        state_.WizardStep = StepBackupFailed;  // the drive's flash is left untouched
      } else {
        state_.WizardStep = WriteFlash() == 1 ? StepCompleted : StepUpdateFailed;
      }
      host_.EnableClose(true);
    }
    drives_.passThrough().CloseCachedDeviceHandle();
  }
  // The outcome may stay on screen, a message box open, for as long as the user likes: the
  // machine is no longer held by then.
  host_.ShowStep();
  if (inUse) host_.ShowDriveInUse(*inUse);
}

}  // namespace zentor::update
