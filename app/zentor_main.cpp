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
    "read-write access to its generic node (/dev/sgN), or root; see zentor(1)."};

}  // namespace

int main(int argc, char** argv) {
  if (const auto status = zentor::app::AnswerWithoutWindow(argc, argv, kProgram)) return *status;
  QApplication application(argc, argv);
  zentor::platform::linux_os::LinuxPlatform platform;
  zentor::platform::linux_os::PosixFileSystem files;
  zentor::app::FlashApp().Run(platform, files,
                              zentor::ui::qt::TemplateLanguageOf(QLocale::system()));
  return 0;
}
