// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/flash_app.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <cstdio>

#include "ui/qt/qt_dialog_view.h"

namespace zentor::app {

int RunWindow(platform::Platform& platform, platform::FileSystem& files,
              resources::TemplateLanguage language, const StartingPlace& place) {
  ui::qt::QtDialogView view(language);
  return RunDialogIn(view, [] { QCoreApplication::processEvents(); }, platform, files, language,
                     place);
}

int RefuseStartingPlace(const std::string& program, const std::string& why, bool box) {
  std::fprintf(stderr, "%s: %s\n", program.c_str(), why.c_str());
  if (box) {
    QMessageBox::critical(nullptr, QString::fromStdString(program), QString::fromStdString(why));
  }
  return kExitUsage;
}

}  // namespace zentor::app
