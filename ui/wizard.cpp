// SPDX-License-Identifier: GPL-2.0-or-later
#include <array>
#include <string_view>

#include "ui/control_ids.h"
#include "ui/flash_dialog.h"
#include "ui/message_catalogue.h"
#include "ui/wizard_step.h"

namespace zentor::ui {
namespace {

bool IsPhaseStep(int step) {
  return step >= StepBackingUp && step <= StepFinalSum;
}

}  // namespace

void FlashDialog::ShowStep() {
  std::array<std::string_view, 6> phaseMarker;
  phaseMarker.fill(kPhaseMarker);
  infoText.clear();
  view_.SetEnabled(kBackButton, false);

  const int language = UiLanguage == kJapanese ? kJapanese : kEnglish;
  if (const StepEntry* entry = FindStepEntry(WizardStep)) {
    infoText = entry->info.In(language);
    if (entry->caption != NextCaption::Unchanged) {
      view_.SetText(kNextStartButton, NextCaptionTexts(entry->caption).In(language));
    }
    if (entry->backEnabled) view_.SetEnabled(kBackButton, true);
  } else if (IsPhaseStep(WizardStep)) {
    phaseMarker[WizardStep - StepBackingUp] = kCurrentPhaseMarker;
  }

  if (IsPhaseStep(WizardStep)) {
    // The box is read from the control itself: the backup line belongs to the list only
    // when the user asked for a backup.
    const bool withBackup = view_.Check(kBackupCheckBox) == kChecked;
    for (std::size_t line = withBackup ? 0 : 1; line < PhaseLines().size(); ++line) {
      infoText += phaseMarker[line];
      infoText += PhaseLines()[line].In(language);
    }
  }

  PushBoundFields();
  // The update runs on this thread; without this the user would see no step until it ends.
  view_.RepaintNow();
}

void FlashDialog::SetLanguageTexts(int language) {
  labelTargetDrive = FixedCaption(kTargetDriveLabel).In(language);
  labelSourceFile = FixedCaption(kSourceFileLabel).In(language);
  labelInformation = FixedCaption(kInformationLabel).In(language);
  labelProgress = FixedCaption(kProgressLabel).In(language);
  for (int control : {kBackupCheckBox, kCloseButton, kNextStartButton, kBackButton}) {
    view_.SetText(control, FixedCaption(control).In(language));
  }
  UiLanguage = language;
  ShowStep();
}

void FlashDialog::SetEnglishTexts() {
  SetLanguageTexts(kEnglish);
}
void FlashDialog::SetJapaneseTexts() {
  SetLanguageTexts(kJapanese);
}

void FlashDialog::GoBack() {
  for (int option : {kPassTypeCheckBox, kUpdateLoaderCheckBox}) {
    view_.SetCheck(option, kUnchecked);
    view_.SetVisible(option, false);
  }
  WizardStep = StepSelectFiles;
  ShowStep();
}

void FlashDialog::OnNextStart() {
  PullBoundFields();
  if (WizardStep <= StepSelectFiles) {
    ++WizardStep;
    ShowStep();
  } else if (WizardStep >= StepTypeCodeDiffers) {
    // Leaves the hidden options as they are, unlike Back.
    WizardStep = StepSelectFiles;
    ShowStep();
  } else {
    // Step 4 in use; the button is disabled on 5..12.
    updater_.RunStartAction();
  }
}

}  // namespace zentor::ui
