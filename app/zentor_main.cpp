// zentor: the firmware update program for the drives of this machine.

#include <QApplication>
#include <QLocale>

#include "app/flash_app.h"
#include "platform/linux/linux_platform.h"
#include "platform/linux/posix_file_system.h"
#include "ui/qt/template_font.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  zentor::platform::linux_os::LinuxPlatform platform;
  zentor::platform::linux_os::PosixFileSystem files;
  zentor::app::FlashApp().Run(platform, files,
                              zentor::ui::qt::TemplateLanguageOf(QLocale::system()));
  return 0;
}
