// SPDX-License-Identifier: GPL-2.0-or-later
#include <cstdint>

#include "scsi/flash_commands.h"
#include "scsi/sense_codes.h"
#include "update/block_layout.h"
#include "update/updater.h"
#include "update/wizard_step.h"

namespace zentor::update {
namespace {

constexpr std::uint32_t kPollIntervalMs = 580;
constexpr int kProbesPerPoll = 10;
constexpr int kFullBar = 120;

constexpr std::uint8_t kNoPhaseYet = 0xFF;

// What the drive's phase reports (ASC 0xF7, the phase in ASCQ) show: the step, and where
// the bar jumps for the small and the large flash.
struct PhaseRow {
  int step;
  int smallFlashPosition;
  int largeFlashPosition;
};

constexpr PhaseRow kPhases[] = {
    {StepConfirmingSum, 8, 4},
    {StepErasing, 36, 25},
    {StepWriting, 52, 40},
    {StepFinalSum, 108, 90},
};

}  // namespace

// After the flash start the drive works by itself and the program only watches: every
// 580 ms a round of up to ten probes. Ten "no medium" answers in one round mean the drive
// finished and restarted; a phase report moves the wizard on; anything unexpected means the
// update went wrong, and the drive is not touched any further. A probe the drive does not
// answer at all counts for nothing (a transport that timed out may still show the previous
// answer's codes); the drive may be out of reach for a while when it restarts, but one
// that stays silent for kSilentDriveLimitMs is given up.
int Updater::PollUntilUpdated() {
  const int step = TransferLayoutOf(state_.driveFamily).progressStep;
  const bool smallFlash = state_.driveFamily < 4;
  const scsi::ScsiRequest& request = drives_.request();
  state_.progressPosition = 0;
  std::uint8_t lastSeenPhase = kNoPhaseYet;
  std::uint64_t lastAnswerMs = clock_.NowMs();

  for (;;) {
    host_.SendProgressPosition();
    clock_.SleepMs(kPollIntervalMs);
    state_.progressPosition += step;

    int noMediumAnswers = 0;
    while (noMediumAnswers < kProbesPerPoll) {
      // On the CD-ROM class device the pending sense must be fetched before the next probe.
      if (drives_.transportKind == scsi::TransportKind::CdromDevice) scsi::RequestSense(drives_);
      scsi::TestUnitReady(drives_);
      if (!request.lastAnswered) break;
      lastAnswerMs = clock_.NowMs();
      if (request.lastAsc != scsi::kAscNoMedium) break;
      ++noMediumAnswers;
    }
    if (noMediumAnswers == kProbesPerPoll) {
      SetProgress(kFullBar);
      return 1;
    }
    if (!request.lastAnswered) {
      if (clock_.NowMs() - lastAnswerMs >= kSilentDriveLimitMs) return 0;
      continue;
    }

    switch (request.lastAsc) {
      case scsi::kAscNone:
      case scsi::kAscInvalidOpcode:
        continue;
      case scsi::kAscUpdatePhase:
        if (request.lastAscq == lastSeenPhase) continue;
        if (request.lastAscq < std::size(kPhases)) {
          const PhaseRow& phase = kPhases[request.lastAscq];
          state_.WizardStep = phase.step;
          state_.progressPosition =
              smallFlash ? phase.smallFlashPosition : phase.largeFlashPosition;
        }
        lastSeenPhase = request.lastAscq;
        host_.ShowStep();
        continue;
      default:
        return 0;
    }
  }
}

}  // namespace zentor::update
