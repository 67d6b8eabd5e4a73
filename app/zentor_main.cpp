// SPDX-License-Identifier: GPL-2.0-or-later
// zentor: the firmware update program for the drives of this machine.

#include <QApplication>
#include <QLocale>

#include "app/flash_app.h"
#include "app/window_options.h"
#include "app/window_programs.h"
#include "platform/linux/linux_platform.h"
#include "platform/linux/posix_file_system.h"
#include "ui/qt/template_font.h"

int main(int argc, char** argv) {
  using namespace zentor::app;
  std::string path;
  if (const auto status = AnswerWithoutWindow(argc, argv, kZentorWindow, &path)) return *status;
  zentor::platform::linux_os::PosixFileSystem files;
  const StartingPlace place = MoveToStartingPlace(path, files);
  if (!place.error.empty() && !WindowSystemAtHand(argc, argv)) {
    return RefuseStartingPlace(kZentorWindow.name, place.error, false);
  }
  QApplication application(argc, argv);
  if (!place.error.empty()) return RefuseStartingPlace(kZentorWindow.name, place.error, true);
  zentor::platform::linux_os::LinuxPlatform platform;
  return RunWindow(platform, files, zentor::ui::qt::TemplateLanguageOf(QLocale::system()), place);
}
