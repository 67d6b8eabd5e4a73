// SPDX-License-Identifier: GPL-2.0-or-later
// zentor: the firmware update program for the drives of this machine.

#include <QApplication>
#include <QLocale>

#include "app/flash_app.h"
#include "app/window_options.h"
#include "platform/linux/linux_platform.h"
#include "platform/linux/posix_file_system.h"
#include "ui/qt/template_font.h"

namespace {

const zentor::app::WindowProgram kProgram{
    "zentor",
    "Rewrites the firmware of a supported optical disc drive. Choose the drive and a\n"
    "firmware file (.vrl or .bin) of the current directory, tick \"Back Up current F/W\"\n"
    "to save the drive's firmware there first, and press Start. The drive needs\n"
    "read-write access to its generic node (/dev/sgN), or root; see zentor(1).\n"
    "Given a firmware file or a folder, the window works in that folder instead and\n"
    "chooses the file (opening a .vrl file with Zentor from the file manager does so)."};

}  // namespace

int main(int argc, char** argv) {
  std::string path;
  if (const auto status = zentor::app::AnswerWithoutWindow(argc, argv, kProgram, &path)) {
    return *status;
  }
  QApplication application(argc, argv);
  zentor::platform::linux_os::LinuxPlatform platform;
  zentor::platform::linux_os::PosixFileSystem files;
  return zentor::app::FlashApp().Run(platform, files,
                                     zentor::ui::qt::TemplateLanguageOf(QLocale::system()), path);
}
