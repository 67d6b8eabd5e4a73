#include "app/drive_list_notice.h"
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
  return view.RunModal([&dialog] { dialog.InitDialog(); },
                       [&dialog, language] { TellWhyNoDriveIsListed(dialog, language); });
}

}  // namespace zentor::app
