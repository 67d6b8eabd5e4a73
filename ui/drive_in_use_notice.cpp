// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/drive_in_use_notice.h"

#include "ui/flash_dialog.h"
#include "ui/wizard_step.h"

namespace zentor::ui {

std::string DriveInUseText(const platform::DriveInUse& inUse,
                           resources::TemplateLanguage language) {
  if (language == resources::TemplateLanguage::Japanese) {
    return "ドライブは他のプログラムが使用中です" +
           std::string(inUse.discMounted ? "。ドライブ内のディスクがマウントされています" : "") +
           " (" + inUse.node +
           ")。\nアップデートはドライブに何も送信していません。そのプログラムを終了するか、"
           "ディスクをアンマウントしてから、もう一度開始してください。\n";
  }
  return "The drive is in use by another program" +
         std::string(inUse.discMounted ? ": the disc in it is mounted" : "") + " (" + inUse.node +
         ").\nThe update sent nothing to the drive. Close that program or unmount the disc, "
         "and start again.\n";
}

// In the language the dialog speaks now, like the step the update ended at.
void FlashDialog::ShowDriveInUse(const platform::DriveInUse& inUse) {
  const auto language = UiLanguage == kJapanese ? resources::TemplateLanguage::Japanese
                                                : resources::TemplateLanguage::English;
  view_.ShowMessageBox({DriveInUseText(inUse, language), applicationName,
                        MessageIcon::Exclamation, MessageButtons::Ok});
}

}  // namespace zentor::ui
