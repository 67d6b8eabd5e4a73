// SPDX-License-Identifier: GPL-2.0-or-later
#include <cerrno>
#include <optional>
#include <string>
#include <vector>

#include "firmware/backup_name.h"
#include "firmware/image_loading.h"
#include "firmware/image_scrambling.h"
#include "firmware/type_code_table.h"
#include "platform/name_case.h"
#include "scsi/flash_commands.h"
#include "update/block_layout.h"
#include "update/updater.h"
#include "update/wizard_step.h"

namespace zentor::update {
int Updater::BackupFirmware() {
  SetProgress(0);
  ShowStep(StepBackingUp);
  clock_.SleepMs(kStepShownPauseMs);

  const ReadOutLayout layout = ReadOutLayoutOf(state_.driveFamily);
  std::vector<std::uint8_t> readOut(static_cast<std::size_t>(layout.reads) * kReadBlockSize);
  for (int n = 0; n < layout.reads; ++n) {
    const std::uint32_t address = static_cast<std::uint32_t>(n) * kReadBlockSize;
    if (scsi::ReadFlashBlock(drives_, address, state_.FlashReadUnsupported) == 0) return 0;
    // A drive that refuses the flash read half-way is answered with the alternate read,
    // and that only ever returns the identification block, not the flash at this address:
    // such a read-out is not the firmware, and a backup of it would restore garbage.
    if (state_.FlashReadUnsupported != 0) return 0;
    std::copy_n(drives_.request().dataBuffer, kReadBlockSize, readOut.begin() + address);
    SetProgress(state_.progressPosition + layout.progressStep);
  }

  auto length = static_cast<std::uint32_t>(readOut.size());
  if (!StoreBackup(readOut, length)) return 0;
  return WriteBackupFile(std::span(readOut).first(length));
}

// Another copy of the program, or any other program, may have taken the chosen name since
// it was chosen: the backup then goes under the next free number, never over that file.
int Updater::WriteBackupFile(std::span<const std::uint8_t> bytes) {
  std::string name = state_.backupFileName;
  for (;;) {
    const platform::NewFile written = files_.CreateNewFile(name, bytes);
    if (written.stands) state_.backupFileName = state_.backupWritten = name;
    if (written.error != EEXIST) return written.error == 0 ? 1 : 0;
    std::optional<std::string> next = firmware::NextFreeBackupName(files_, name);
    if (!next) return 0;
    name = std::move(*next);
  }
}

// Families 5..8 keep their backups in the stored form of their update files, so a backup
// can be flashed back like one. A read-out that cannot take that form (a packed family
// whose erased region holds data), or a ".VRL" name for a read-out that stays plain,
// would give a file that restores the wrong firmware: such a backup counts as failed.
bool Updater::StoreBackup(std::span<std::uint8_t> readOut, std::uint32_t& length) const {
  const bool stored =
      firmware::ScrambleImage(readOut, length, state_.driveFamily, image_.fileFamily);
  if (stored) return true;
  const bool namePromisesStoredForm =
      platform::EqualIgnoringCase(firmware::FileExtension(state_.backupFileName), "vrl");
  return state_.driveFamily < firmware::kAdditiveFamily && !namePromisesStoredForm;
}

}  // namespace zentor::update
