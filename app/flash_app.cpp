#include "app/flash_app.h"

#include <QCoreApplication>

#include "app/drive_list_notice.h"
#include "app/responsive_platform.h"
#include "ui/flash_dialog.h"
#include "ui/qt/qt_dialog_view.h"

namespace zentor::app {

int FlashApp::Run(platform::Platform& platform, platform::FileSystem& files,
                  resources::TemplateLanguage language) {
  ui::qt::QtDialogView view(language);
  ResponsivePlatform responsive(platform, [] { QCoreApplication::processEvents(); });
  ui::FlashDialog dialog(view, files, responsive);
  view.Connect(&dialog);
  return view.RunModal([&dialog] { dialog.InitDialog(); },
                       [&dialog, language] { TellWhyNoDriveIsListed(dialog, language); });
}

}  // namespace zentor::app
