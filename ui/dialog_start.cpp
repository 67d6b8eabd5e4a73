// SPDX-License-Identifier: GPL-2.0-or-later
#include <optional>

#include "scsi/drive_scan.h"
#include "scsi/transport_choice.h"
#include "ui/control_ids.h"
#include "ui/flash_dialog.h"
#include "ui/version_text.h"
#include "ui/wizard_step.h"

namespace zentor::ui {
namespace {

constexpr std::string_view kBannerText =
    "DVD+RW/+R Drive KX4410B F/W Update Program\r\n95/98/Me/NT4/2000/XP";
constexpr std::string_view kWindowTitle = "Zentor";
constexpr int kProgressRangeHigh = 120;
// The end result of a dialog whose start failed.
constexpr int kStartFailedResult = 0;

MessageIcon IconOf(scsi::StartupFailure::Icon icon) {
  return icon == scsi::StartupFailure::Icon::Exclamation ? MessageIcon::Exclamation
                                                         : MessageIcon::Stop;
}

}  // namespace

// The order matters: the transport is settled before anything is shown, step 1 stands in
// the window while the directory is read and the drives are scanned, and the first file is
// identified only once the lists are complete.
bool FlashDialog::InitDialog() {
  PushBoundFields();
  view_.SetIcons(appIcon);

  if (const std::optional<scsi::StartupFailure> failure =
          scsi::ChooseTransport(platform_, drives_)) {
    view_.ShowMessageBox(
        {failure->text, applicationName, IconOf(failure->icon), MessageButtons::Ok});
    view_.EndDialog(kStartFailedResult);
    return false;
  }

  view_.SetText(kBanner, kBannerText);
  view_.SetTitle(kWindowTitle);
  progressPosition = 0;
  view_.SetProgressRange(kProgressBar, 0, kProgressRangeHigh);
  view_.SetCheck(kEnglishRadio, kChecked);
  UiLanguage = kEnglish;
  SetEnglishTexts();

  WizardStep = StepSearching;
  imageBuffer.clear();
  ForceLoaderUpdate = 0;
  ShowStep();

  view_.ClearList(kTargetDriveList);
  FillSourceFileEntries();
  for (int option : {kPassTypeCheckBox, kUpdateLoaderCheckBox})
    view_.SetVisible(option, false);
  FillTargetDriveList();

  WizardStep += 2;
  ShowStep();
  if (view_.ListCount(kTargetDriveList) > 0) view_.SelectListEntry(kTargetDriveList, 0);
  SelectFirstSourceFile();

  view_.SetPicture(kLogoPicture, resources::kLogoBitmapResource);
  versionText = BuildVersionText();
  FitVersionLabelToLogo();
  PushBoundFields();
  return true;
}

void FlashDialog::FillTargetDriveList() {
  for (const std::string& label : scsi::ScanDrives(drives_)) {
    view_.AddListEntry(kTargetDriveList, label);
  }
}

std::string FlashDialog::BuildVersionText() {
  return ui::BuildVersionText(platform_);
}

// The version label sits on the logo's left edge; made as wide as the logo it spans it.
void FlashDialog::FitVersionLabelToLogo() {
  view_.ResizeControl(kVersionLabel, {view_.SizeOfControl(kLogoPicture).width,
                                      view_.SizeOfControl(kVersionLabel).height});
}

}  // namespace zentor::ui
