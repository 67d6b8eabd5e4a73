// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/control_ids.h"
#include "ui/flash_dialog.h"

namespace zentor::ui {
namespace {

// The bound fields. No other control is bound: the lists, buttons, progress bar, banner and
// the check boxes 1004 and 1020 are read and written directly where they are needed.
struct TextBinding {
  int controlId;
  std::string FlashDialog::*field;
};

constexpr TextBinding kTextBindings[] = {
    {kTargetDriveLabel, &FlashDialog::labelTargetDrive},
    {kSourceFileLabel, &FlashDialog::labelSourceFile},
    {kInformationLabel, &FlashDialog::labelInformation},
    {kProgressLabel, &FlashDialog::labelProgress},
    {kInformationText, &FlashDialog::infoText},
    {kBackupNameLabel, &FlashDialog::backupFileName},
    {kFileIdentLabel, &FlashDialog::fileIdentText},
    {kVersionLabel, &FlashDialog::versionText},
};

struct CheckBinding {
  int controlId;
  int FlashDialog::*field;
};

constexpr CheckBinding kCheckBindings[] = {
    {kUpdateLoaderCheckBox, &FlashDialog::updateLoader},
};

}  // namespace

void FlashDialog::PushBoundFields() {
  for (const TextBinding& binding : kTextBindings) {
    view_.SetText(binding.controlId, this->*binding.field);
  }
  for (const CheckBinding& binding : kCheckBindings) {
    view_.SetCheck(binding.controlId, this->*binding.field);
  }
}

void FlashDialog::PullBoundFields() {
  for (const TextBinding& binding : kTextBindings) {
    this->*binding.field = view_.Text(binding.controlId);
  }
  for (const CheckBinding& binding : kCheckBindings) {
    this->*binding.field = view_.Check(binding.controlId) == kChecked ? 1 : 0;
  }
}

}  // namespace zentor::ui
