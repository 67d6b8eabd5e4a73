// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/flash_dialog.h"

#include "ui/application_name.h"
#include "ui/control_ids.h"

namespace zentor::ui {
namespace {

struct ClickHandler {
  int controlId;
  void (FlashDialog::*handler)();
};

// What a click runs.
constexpr ClickHandler kClickHandlers[] = {
    {kEnglishRadio, &FlashDialog::SetEnglishTexts},
    {kJapaneseRadio, &FlashDialog::SetJapaneseTexts},
    {kNextStartButton, &FlashDialog::OnNextStart},
    {kBackupCheckBox, &FlashDialog::UpdateBackupName},
    {kBackButton, &FlashDialog::GoBack},
    {kPassTypeCheckBox, &FlashDialog::ConfirmPassType},
};

}  // namespace

FlashDialog::FlashDialog(DialogView& view, platform::FileSystem& files,
                         platform::Platform& platform)
    : applicationName(ApplicationNameOf(platform.ProgramFilePath())),
      view_(view),
      platform_(platform),
      files_(files),
      drives_(platform),
      updater_(drives_, platform, platform, files, *this, *this, *this) {}

void FlashDialog::Clicked(int id) {
  for (const ClickHandler& row : kClickHandlers) {
    if (row.controlId == id) (this->*row.handler)();
  }
}

// A new selection in the target list runs nothing: the Start action reads the selected
// drive when it begins.
void FlashDialog::SelectionChanged(int id) {
  if (id == kSourceFileList) IdentifySourceFile();
}

void FlashDialog::CancelCommand() {
  view_.EndDialog(kCancelResult);
}

}  // namespace zentor::ui
