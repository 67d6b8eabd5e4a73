#include <cstdio>
#include <string>

#include "app/flash_app.h"
#include "app/responsive_platform.h"
#include "ui/flash_dialog.h"
#include "ui/win32/win32_dialog_view.h"

namespace zentor::app {

int FlashApp::Run(platform::Platform& platform, platform::FileSystem& files,
                  resources::TemplateLanguage language) {
  ui::win32::Win32DialogView view(language);
  ResponsivePlatform responsive(platform, [&view] { view.LetWindowSystemIn(); });
  ui::FlashDialog dialog(view, files, responsive);
  view.Connect(&dialog);
  // Why no drive is listed is told once the window stands, in a message box over it, and on
  // the console for whoever started the window from one.
  return view.RunModal(
      [&dialog] { dialog.InitDialog(); },
      [&dialog, &view, language] {
        const std::string notice = dialog.EmptyDriveListNotice(language);
        if (notice.empty()) return;
        std::fprintf(stderr, "%s: %s", dialog.applicationName.c_str(), notice.c_str());
        std::fflush(stderr);
        view.ShowMessageBox(
            {notice, dialog.applicationName, ui::MessageIcon::Exclamation, ui::MessageButtons::Ok});
      });
}

}  // namespace zentor::app
