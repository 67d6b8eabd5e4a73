#include "app/flash_app.h"

#include "app/responsive_platform.h"
#include "ui/flash_dialog.h"
#include "ui/qt/qt_dialog_view.h"

namespace zentor::app {

int FlashApp::Run(platform::Platform& platform, platform::FileSystem& files,
                  resources::TemplateLanguage language) {
  ResponsivePlatform responsive(platform);
  ui::qt::QtDialogView view(language);
  ui::FlashDialog dialog(view, files, responsive);
  view.Connect(&dialog);
  return view.RunModal([&dialog] { dialog.InitDialog(); });
}

}  // namespace zentor::app
