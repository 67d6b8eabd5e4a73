// SPDX-License-Identifier: GPL-2.0-or-later
#include "scsi/flash_commands.h"

#include "scsi/sense_codes.h"

namespace zentor::scsi {
namespace {

constexpr std::uint8_t kOpTestUnitReady = 0x00;
constexpr std::uint8_t kOpRequestSense = 0x03;
constexpr std::uint8_t kOpEndTransfer = 0xE0;
constexpr std::uint8_t kOpStartFlashUpdate = 0xE1;
constexpr std::uint8_t kOpSendBlockShort = 0xE2;
constexpr std::uint8_t kOpReadFlash = 0xE3;
constexpr std::uint8_t kOpEnterUpdateMode = 0xE4;
constexpr std::uint8_t kOpSendBlockLong = 0xAA;
constexpr std::uint8_t kOpAlternateRead = 0xA8;

constexpr std::uint8_t kRequestSenseLength = 14;
constexpr std::uint8_t kControlByte = 0x80;
constexpr std::uint8_t kOptionBit = 0x40;
// Byte 9 of the alternate read: the character 'r'.
constexpr std::uint8_t kAlternateReadMark = 0x72;

constexpr std::uint8_t Byte(std::uint32_t value, int shift) {
  return static_cast<std::uint8_t>(value >> shift);
}

// A 10-byte command with no data. Bytes 10 and 11 are cleared too, though beyond the
// command's length, so no byte of an earlier 12-byte command lingers in the block.
int SendTenByte(DriveAccess& drives, std::uint8_t opcode, std::uint8_t byte3, std::uint8_t byte9) {
  drives.PrepareCommand(kFlagsNoData, 10, {opcode, 0, 0, byte3, 0, 0, 0, 0, 0, byte9, 0, 0});
  return drives.Dispatch(0);
}

// A read whose bytes are kept must have moved all of them: what it did not move is still
// the previous command's data, and would be taken for flash content.
int ReadWhole(DriveAccess& drives) {
  return drives.Dispatch(kDataBufferSize) == 1 &&
                 drives.request().lastTransferred == kDataBufferSize
             ? 1
             : 0;
}

int AlternateRead(DriveAccess& drives) {
  drives.PrepareCommand(kFlagsDataIn, 12,
                        {kOpAlternateRead, 0, 0, 0, 0, 0, 0, 0, 0, kAlternateReadMark, 0, 0});
  return ReadWhole(drives);
}

}  // namespace

int RequestSense(DriveAccess& drives) {
  drives.PrepareCommand(kFlagsDataIn, 6, {kOpRequestSense, 0, 0, 0, kRequestSenseLength, 0});
  return drives.Dispatch(kRequestSenseLength);
}

int TestUnitReady(DriveAccess& drives) {
  drives.PrepareCommand(kFlagsNoData, 6, {kOpTestUnitReady, 0, 0, 0, 0, kControlByte});
  return drives.Dispatch(0);
}

int EnterUpdateMode(DriveAccess& drives, int flag) {
  return SendTenByte(drives, kOpEnterUpdateMode, 0, flag == 1 ? kOptionBit : 0);
}

int EndTransfer(DriveAccess& drives, int selector) {
  return SendTenByte(drives, kOpEndTransfer, static_cast<std::uint8_t>(selector), 0);
}

int StartFlashUpdate(DriveAccess& drives, bool loaderBit) {
  return SendTenByte(drives, kOpStartFlashUpdate, 0, loaderBit ? kOptionBit : 0);
}

int SendFlashBlock(DriveAccess& drives, int blockLength, int form) {
  const auto length = static_cast<std::uint32_t>(blockLength);
  if (form == kLongBlockForm) {
    drives.PrepareCommand(
        kFlagsDataOut, 12,
        {kOpSendBlockLong, 0, 0, 0, 0, 0, Byte(length, 8), Byte(length, 0), 0, 0, 0, 0});
  } else {
    drives.PrepareCommand(
        kFlagsDataOut, 10,
        {kOpSendBlockShort, 0, 0, 0, 0, 0, Byte(length, 8), Byte(length, 0), 0, 0, 0, 0});
  }
  return drives.Dispatch(kDataBufferSize);
}

int ReadFlashBlock(DriveAccess& drives, std::uint32_t address, int& flashReadUnsupported) {
  if (flashReadUnsupported == 1) return AlternateRead(drives);
  drives.PrepareCommand(
      kFlagsDataIn, 12,
      {kOpReadFlash, 0, Byte(address, 24), Byte(address, 16), Byte(address, 8), Byte(address, 0), 0,
       Byte(kDataBufferSize, 8), Byte(kDataBufferSize, 0), 0, 0, 0});
  if (ReadWhole(drives) == 1) return 1;
  const ScsiRequest& request = drives.request();
  if (request.lastAsc != kAscInvalidOpcode || request.lastAscq != 0x00) return 0;
  const int result = AlternateRead(drives);
  if (result == 1) flashReadUnsupported = 1;
  return result;
}

}  // namespace zentor::scsi
