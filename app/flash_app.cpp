// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/flash_app.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <cstdio>

#include "app/drive_list_notice.h"
#include "app/responsive_platform.h"
#include "app/starting_place.h"
#include "ui/flash_dialog.h"
#include "ui/qt/qt_dialog_view.h"

namespace zentor::app {

int FlashApp::Run(platform::Platform& platform, platform::FileSystem& files,
                  resources::TemplateLanguage language, const std::string& startingPath) {
  const StartingPlace place = MoveToStartingPlace(startingPath, files);
  if (!place.error.empty()) {
    const std::string name = QCoreApplication::applicationName().toStdString();
    std::fprintf(stderr, "%s: %s\n", name.c_str(), place.error.c_str());
    QMessageBox::critical(nullptr, QString::fromStdString(name),
                          QString::fromStdString(place.error));
    return kExitBadPath;
  }
  ui::qt::QtDialogView view(language);
  ResponsivePlatform responsive(platform, [] { QCoreApplication::processEvents(); });
  ui::FlashDialog dialog(view, files, responsive);
  view.Connect(&dialog);
  view.RunModal([&dialog, &place] { StartDialogAt(dialog, place); },
                [&dialog, language] { TellWhyNoDriveIsListed(dialog, language); });
  return 0;
}

}  // namespace zentor::app
