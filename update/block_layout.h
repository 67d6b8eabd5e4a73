// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>

namespace zentor::update {

// How an image goes into a drive: full blocks, then a shorter tail, 512 KiB for the small
// flash of families 0..3 and 1 MiB for the others. The progress bar moves by progressStep
// for every block and every poll of the drive.
struct TransferLayout {
  int fullBlocks;
  int blockLength;
  int tailLength;
  int progressStep;
};

inline constexpr TransferLayout TransferLayoutOf(int driveFamily) {
  return driveFamily < 4 ? TransferLayout{34, 15360, 2048, 2} : TransferLayout{341, 3072, 1024, 1};
}

// How the current firmware is read out for a backup: reads of one data buffer (16 KiB) from
// flash address 0 on. Both sizes end at progress position 64.
struct ReadOutLayout {
  int reads;
  int progressStep;
};

inline constexpr std::uint32_t kReadBlockSize = 0x4000;

inline constexpr ReadOutLayout ReadOutLayoutOf(int driveFamily) {
  return driveFamily < 4 ? ReadOutLayout{32, 2} : ReadOutLayout{64, 1};
}

}  // namespace zentor::update
