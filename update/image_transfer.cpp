// SPDX-License-Identifier: GPL-2.0-or-later
#include <algorithm>
#include <string>

#include "scsi/flash_commands.h"
#include "scsi/sense_codes.h"
#include "update/block_layout.h"
#include "update/updater.h"
#include "update/wizard_step.h"

namespace zentor::update {
namespace {

// EndTransfer selectors, in the order drives of different generations accept them.
constexpr int kEndTransferSelectors[] = {0, 1, 2};

}  // namespace

void Updater::SetProgress(int position) {
  state_.progressPosition = position;
  host_.SendProgressPosition();
}

void Updater::ShowStep(int step) {
  state_.WizardStep = step;
  host_.ShowStep();
}

int Updater::WriteFlash() {
  if (TransferImage() == 0) return 0;
  return PollUntilUpdated();
}

int Updater::TransferImage() {
  const std::string name = host_.SelectedSourceFile();
  if (name.empty() || host_.LoadFirmwareImage(name) == 0) return 0;
  const TransferLayout layout = TransferLayoutOf(state_.driveFamily);
  // The whole family size goes out whatever the file's length; the loaded image always
  // has that size (erased flash where a short file ends).
  const std::size_t total =
      static_cast<std::size_t>(layout.fullBlocks) * layout.blockLength + layout.tailLength;
  if (image_.imageBuffer.size() < total) return 0;

  SetProgress(0);
  ShowStep(StepTransferring);
  clock_.SleepMs(kStepShownPauseMs);

  std::uint8_t* const dataBuffer = drives_.request().dataBuffer;
  int form = scsi::kLongBlockForm;
  for (int block = 0; block < layout.fullBlocks; ++block) {
    const auto from =
        image_.imageBuffer.begin() + static_cast<std::ptrdiff_t>(block) * layout.blockLength;
    std::copy_n(from, layout.blockLength, dataBuffer);
    if (SendFullBlock(layout.blockLength, form) == 0) return 0;
    SetProgress(state_.progressPosition + layout.progressStep);
  }

  // The tail gets one try in the form the blocks settled on.
  const auto tail = image_.imageBuffer.begin() +
                    static_cast<std::ptrdiff_t>(layout.fullBlocks) * layout.blockLength;
  std::copy_n(tail, layout.tailLength, dataBuffer);
  if (scsi::SendFlashBlock(drives_, layout.tailLength, form) == 0) return 0;

  const bool closed = std::ranges::any_of(kEndTransferSelectors, [this](int selector) {
    return scsi::EndTransfer(drives_, selector) == 1;
  });
  if (!closed) return 0;

  host_.PullBoundFields();
  const bool loaderBit = state_.updateLoader == 1 || state_.ForceLoaderUpdate == 1;
  return scsi::StartFlashUpdate(drives_, loaderBit);
}

// A drive that is not ready for a block (ASC 0x3A) gets the same block again at once, up to
// the bound; one that refuses the 12-byte command otherwise gets this and every later block
// in the 10-byte form. A block the 10-byte form cannot deliver ends the transfer.
int Updater::SendFullBlock(int blockLength, int& form) {
  int busyResends = 0;
  for (;;) {
    if (scsi::SendFlashBlock(drives_, blockLength, form) == 1) return 1;
    if (drives_.request().lastAsc == scsi::kAscNoMedium) {
      if (++busyResends > kMaxBusyResends) return 0;
    } else if (form == scsi::kShortBlockForm) {
      return 0;
    } else {
      form = scsi::kShortBlockForm;
    }
  }
}

}  // namespace zentor::update
