// SPDX-License-Identifier: GPL-2.0-or-later
#include <algorithm>
#include <span>

#include "firmware/loader_table.h"
#include "firmware/type_code_table.h"
#include "scsi/flash_commands.h"
#include "update/updater.h"

namespace zentor::update {
namespace {

constexpr std::uint32_t kLoaderStartPauseMs = 200;

// Where the three identity fields lie in the identification block. Family 1 keeps its
// header near the end of the block, with the ids 4 bytes further on than in a file.
struct IdentityOffsets {
  std::size_t typeCode;
  std::size_t shortId;
  std::size_t longId;
};

constexpr IdentityOffsets IdentityOffsetsOf(int driveFamily) {
  constexpr std::size_t kLateHeader = 0x3F00;
  return driveFamily == 1 ? IdentityOffsets{kLateHeader, kLateHeader + 10, kLateHeader + 19}
                          : IdentityOffsets{0, 6, 15};
}

// Copies a field's bytes as they are and closes it with a NUL.
template <std::size_t N>
void CopyField(std::span<const std::uint8_t> block, std::size_t offset,
               std::array<char, N>& field) {
  std::copy_n(block.begin() + static_cast<std::ptrdiff_t>(offset), N - 1, field.begin());
  field[N - 1] = '\0';
}

}  // namespace

int Updater::IdentifyDrive() {
  // The drive needs both commands and a moment after each to run its loader; what they
  // return says nothing yet, the INQUIRY below does.
  for (int i = 0; i < 2; ++i) {
    scsi::EnterUpdateMode(drives_, 1);
    clock_.SleepMs(kLoaderStartPauseMs);
  }
  if (drives_.Inquiry() == 0) return 0;
  const auto productId = drives_.ProductId();

  const std::span<const std::uint8_t> block(drives_.request().dataBuffer);
  bool identified = false;
  for (int row = firmware::FindLoaderRow(productId); row >= 0 && !identified;
       row = firmware::FindLoaderRow(productId, row + 1)) {
    const firmware::LoaderRow& loader = firmware::LoaderTable[row];
    state_.driveFamily = loader.family;
    if (scsi::ReadFlashBlock(drives_, loader.idBlockAddress, state_.FlashReadUnsupported) == 0) {
      return 0;
    }
    // The code is looked for at the block's start whatever the family; a block that holds
    // none may still belong to the next row with the same loader.
    const int codeRow = firmware::FindBlockCodeRow(block);
    if (codeRow >= 0) {
      state_.driveFamily = firmware::TypeCodeTable[codeRow].family;
      identified = true;
    }
  }
  if (!identified) return 0;

  const firmware::PromotedFamily promoted = firmware::PromoteDriveFamily(state_.driveFamily, block);
  state_.driveFamily = promoted.family;
  if (promoted.forceLoaderUpdate) state_.ForceLoaderUpdate = 1;

  const IdentityOffsets at = IdentityOffsetsOf(state_.driveFamily);
  CopyField(block, at.typeCode, state_.driveTypeCode);
  CopyField(block, at.shortId, state_.driveShortId);
  CopyField(block, at.longId, state_.driveLongId);
  return 1;
}

}  // namespace zentor::update
