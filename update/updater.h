// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <span>

#include "firmware/firmware_image.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/machine_keeper.h"
#include "scsi/drive_access.h"
#include "update/update_host.h"
#include "update/update_state.h"

namespace zentor::update {

// A block refused as "not ready" (ASC 0x3A) is sent again at once, but not for ever: a
// drive that still refuses after this many re-sends will not take the block, and the
// update fails before the flash start, with the old firmware still in place.
inline constexpr int kMaxBusyResends = 100;

// How long a drive that was told to flash may leave every probe unanswered before the
// update is given up as failed. While a healthy drive checks, erases and writes it answers
// each probe with its phase, however long a phase takes; it is out of reach only while it
// restarts at the end, and while the kernel's error handling resets its link, which takes
// seconds to tens of seconds. Three minutes is far beyond that and beyond any phase of a
// 1 MiB flash (the virtual drives' longest, the write, takes 4.5 s), yet keeps a user
// whose drive has gone from waiting for ever.
inline constexpr std::uint64_t kSilentDriveLimitMs = 180'000;

// The pause after the backup or the transfer step is shown, before the first command.
inline constexpr std::uint32_t kStepShownPauseMs = 200;

// The update of one drive, from the Start click to its outcome step. It works on the
// dialog's state and talks to the dialog through the host; drives, time, the machine's
// keeping up and files come from the platform.
class Updater {
 public:
  Updater(scsi::DriveAccess& drives, platform::Clock& clock, platform::MachineKeeper& keeper,
          platform::FileSystem& files, UpdateHost& host, UpdateState& state,
          firmware::FirmwareImage& image)
      : drives_(drives),
        clock_(clock),
        keeper_(keeper),
        files_(files),
        host_(host),
        state_(state),
        image_(image) {}

  // The Start click: claim the selected drive (one that another program holds is left
  // untouched, at step 14, and the user told why), identify it, check it against the
  // selected file, back it up when asked, write it, and leave the outcome as the wizard
  // step (11 done, 12 write failed, 13 drive and file differ, 14 not identified, 16 backup
  // failed). The machine is kept up from before the claim until the drive's device is
  // closed, whatever happened; only then is the outcome shown.
  void RunStartAction();

  // Switches the drive to its loader and reads its family and identity: 1 on success.
  int IdentifyDrive();
  // Reads the current firmware and saves it under backupFileName, or the next free name
  // when that one was taken meanwhile (backupFileName then follows): 1 on success. No file
  // is ever replaced. A failure leaves no file behind, but for one: the file was whole under
  // its name and only its folder's sync failed. Removing it then would be worse than keeping
  // it, so it stays, and backupWritten names it.
  int BackupFirmware();
  // Loads the selected file, sends it, starts the flash update and follows the drive to its
  // end: 1 when the drive finished.
  int WriteFlash();

 private:
  int TransferImage();
  int SendFullBlock(int blockLength, int& form);
  int PollUntilUpdated();
  void SetProgress(int position);
  void ShowStep(int step);
  // Stores the read-out in its backup form; false when the name promises a form that this
  // read-out cannot take.
  bool StoreBackup(std::span<std::uint8_t> readOut, std::uint32_t& length) const;
  int WriteBackupFile(std::span<const std::uint8_t> bytes);

  scsi::DriveAccess& drives_;
  platform::Clock& clock_;
  platform::MachineKeeper& keeper_;
  platform::FileSystem& files_;
  UpdateHost& host_;
  UpdateState& state_;
  firmware::FirmwareImage& image_;
};

}  // namespace zentor::update
