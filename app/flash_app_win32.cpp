// SPDX-License-Identifier: GPL-2.0-or-later
#include <windows.h>

#include "app/drive_list_notice.h"
#include "app/flash_app.h"
#include "app/responsive_platform.h"
#include "app/starting_place.h"
#include "platform/windows/console_text.h"
#include "platform/windows/wide_text.h"
#include "ui/flash_dialog.h"
#include "ui/win32/win32_dialog_view.h"

namespace zentor::app {

int FlashApp::Run(platform::Platform& platform, platform::FileSystem& files,
                  resources::TemplateLanguage language, const std::string& startingPath) {
  const StartingPlace place = MoveToStartingPlace(startingPath, files);
  if (!place.error.empty()) {
    platform::windows::WriteText(stderr, "zentor: " + place.error + "\n");
    MessageBoxW(nullptr, platform::windows::Wide(place.error).c_str(), L"zentor",
                MB_OK | MB_ICONSTOP);
    return kExitBadPath;
  }
  ui::win32::Win32DialogView view(language);
  ResponsivePlatform responsive(platform, [&view] { view.LetWindowSystemIn(); });
  ui::FlashDialog dialog(view, files, responsive);
  view.Connect(&dialog);
  view.RunModal([&dialog, &place] { StartDialogAt(dialog, place); },
                [&dialog, language] { TellWhyNoDriveIsListed(dialog, language); });
  return 0;
}

}  // namespace zentor::app
