// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>

#include "scsi/drive_access.h"

namespace zentor::scsi {

// The commands of a flash update. Each fills the command block and returns the Dispatch
// result: 1 for good status, 0 for anything else, with lastAsc/lastAscq telling why.

// Standard REQUEST SENSE for 14 bytes.
int RequestSense(DriveAccess& drives);
// The six-byte TEST UNIT READY with control byte 0x80: the probe while the drive updates.
int TestUnitReady(DriveAccess& drives);
// Vendor 0xE4: switches the drive to its update loader. The flag sets bit 0x40 in byte 9.
int EnterUpdateMode(DriveAccess& drives, int flag);
// Vendor 0xE0: closes the block transfer; the selector's low byte goes into byte 3.
int EndTransfer(DriveAccess& drives, int selector);
// Vendor 0xE1: the drive checks, erases and programs its flash. The loader bit (0x40 in
// byte 9) has the drive rewrite its update loader as well.
int StartFlashUpdate(DriveAccess& drives, bool loaderBit);

// Which command carries a block.
inline constexpr int kLongBlockForm = 1;   // 12-byte command, opcode 0xAA
inline constexpr int kShortBlockForm = 0;  // 10-byte command, opcode 0xE2

// Sends the first blockLength bytes of the data buffer, which the caller has filled. The
// whole buffer always travels: the drive takes the number of bytes the command names.
int SendFlashBlock(DriveAccess& drives, int blockLength, int form);

// Reads the 16 KiB of flash at a byte address into the data buffer; a read that moved
// fewer bytes, whatever its status, has failed. A drive that does not
// know the flash read (invalid operation code) but answers the alternate read sets
// flashReadUnsupported for good; from then on only the alternate read is sent, which
// returns the drive's identification block wherever one asks.
int ReadFlashBlock(DriveAccess& drives, std::uint32_t address, int& flashReadUnsupported);

}  // namespace zentor::scsi
