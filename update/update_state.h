// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>

#include "firmware/firmware_image.h"

namespace zentor::update {

// The dialog's state that an update reads and writes. The dialog holds it for the program's
// whole run: the flags below outlive one update on purpose.
struct UpdateState {
  // The wizard's step (Step values; any other value shows nothing). Its first value comes
  // with the dialog's initialisation.
  int WizardStep = 0;
  // The last position sent to the progress bar (range 0..120).
  int progressPosition = 0;
  // The text last entered in the password prompt, kept for the check at Start.
  std::string typedPassword;
  // Where the backup goes; empty when no backup is to be made. When the name was taken
  // between its choice and the write, the backup takes the next free one, and this field
  // follows it.
  std::string backupFileName;
  // The file the backup of this Start stands in, once it stands; empty before and without
  // one. It can be set when the backup still failed (the file is whole but its folder could
  // not be synced): the file is the user's to keep either way.
  std::string backupWritten;
  // "Update Loader": taken from its check box at every pull, read by the flash start.
  int updateLoader = 0;
  // Set when the drive can be read only through the alternate read, so no backup is
  // possible; never cleared while the program runs.
  int FlashReadUnsupported = 0;
  // Set when identification promoted the drive from family 4 to 5: its flash start must
  // carry the loader bit. Cleared only when the dialog starts.
  int ForceLoaderUpdate = 0;

  // The identified drive: its family decides block sizes, read-out size and stored forms.
  // The identity fields are the raw bytes of its identification block; a failed
  // identification leaves the previous drive's values in them.
  int driveFamily = 0;
  firmware::TypeCodeField driveTypeCode{};
  firmware::ShortIdField driveShortId{};
  firmware::LongIdField driveLongId{};
};

}  // namespace zentor::update
