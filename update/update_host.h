// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>

#include "platform/device_io.h"

namespace zentor::update {

// The dialog as the update sees it: the few controls it reads or switches, and the
// dialog's own operations it calls on the way.
class UpdateHost {
 public:
  virtual ~UpdateHost() = default;

  // Shows the current WizardStep and repaints before returning, so each step is seen.
  virtual void ShowStep() = 0;
  // Sends progressPosition to the progress bar.
  virtual void SendProgressPosition() = 0;
  // Copies the controls' state into the bound fields (updateLoader among them).
  virtual void PullBoundFields() = 0;
  // 1 when the image buffer holds the plain image of the named file; the dialog tells the
  // user when the file cannot be opened.
  virtual int LoadFirmwareImage(const std::string& name) = 0;

  // The texts of the current entries of the target-drive and source-file lists.
  virtual std::string SelectedDriveLabel() = 0;
  virtual std::string SelectedSourceFile() = 0;
  // Check states of the "Back Up current F/W" and "Pass Type" boxes.
  virtual int BackupBoxState() = 0;
  virtual int PassTypeBoxState() = 0;

  virtual void EnableNextStart(bool enabled) = 0;
  virtual void EnableClose(bool enabled) = 0;
  // The notice that this drive cannot be backed up and the update goes on without one;
  // returns when the user has closed it.
  virtual void ShowBackupNotice() = 0;
  // Why the drive was not updated when another program holds it: which node, what to do.
  virtual void ShowDriveInUse(const platform::DriveInUse& inUse) = 0;
};

}  // namespace zentor::update
