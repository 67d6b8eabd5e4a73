// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/drive_list_notice.h"

#include <cstdio>
#include <string>

namespace zentor::app {

void TellWhyNoDriveIsListed(ui::FlashDialog& dialog, resources::TemplateLanguage language) {
  const std::string notice = dialog.EmptyDriveListNotice(language);
  if (notice.empty()) return;
  std::fprintf(stderr, "%s: %s", dialog.applicationName.c_str(), notice.c_str());
  std::fflush(stderr);
  dialog.view().ShowMessageBox(
      {notice, dialog.applicationName, ui::MessageIcon::Exclamation, ui::MessageButtons::Ok});
}

}  // namespace zentor::app
