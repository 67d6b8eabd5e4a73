// SPDX-License-Identifier: GPL-2.0-or-later
#include <windows.h>

#include "app/flash_app.h"
#include "platform/windows/console_text.h"
#include "platform/windows/wide_text.h"
#include "ui/win32/win32_dialog_view.h"

namespace zentor::app {

int RunWindow(platform::Platform& platform, platform::FileSystem& files,
              resources::TemplateLanguage language, const StartingPlace& place) {
  ui::win32::Win32DialogView view(language);
  return RunDialogIn(view, [&view] { view.LetWindowSystemIn(); }, platform, files, language,
                     place);
}

int RefuseStartingPlace(const std::string& program, const std::string& why, bool box) {
  platform::windows::WriteText(stderr, program + ": " + why + "\n");
  if (box) {
    MessageBoxW(nullptr, platform::windows::Wide(why).c_str(),
                platform::windows::Wide(program).c_str(), MB_OK | MB_ICONSTOP);
  }
  return kExitUsage;
}

}  // namespace zentor::app
