// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

namespace zentor::update {

// The values of WizardStep: where the user or the update stands.
enum Step : int {
  StepSearching = 1,         // the drive scan is running
  StepSelectDrive = 2,       // select a target drive
  StepSelectFiles = 3,       // select drive and file: the resting step
  StepReady = 4,             // Next/Start reads Start
  StepBackingUp = 5,         // phase list: reading the drive's current firmware
  StepTransferring = 6,      // phase list: sending the image
  StepConfirmingSum = 7,     // phase list: the drive checks the sum code
  StepErasing = 8,           // phase list: the drive erases its flash
  StepWriting = 9,           // phase list: the drive writes its flash
  StepFinalSum = 10,         // phase list: the drive checks the sum code after writing
  StepCompleted = 11,        // the update succeeded
  StepUpdateFailed = 12,     // the update failed
  StepTypeCodeDiffers = 13,  // drive and file do not match
  StepNoUpdateMode = 14,     // the drive was not identified in update mode
  StepNoBackupName = 15,     // no free backup file name
  StepBackupFailed = 16,     // reading the current firmware or writing the backup failed
};

}  // namespace zentor::update
