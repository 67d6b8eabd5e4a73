// zentor.exe: the firmware update program for the drives of this machine, as a window.

#include <windows.h>

#include "app/flash_app.h"
#include "app/native_host.h"
#include "app/window_options.h"

namespace {

const zentor::app::WindowProgram kProgram{
    "zentor",
    "Rewrites the firmware of a supported optical disc drive. Choose the drive and a\n"
    "firmware file (.vrl or .bin) of the current folder, tick \"Back Up current F/W\"\n"
    "to save the drive's firmware there first, and press Start. Reaching a drive\n"
    "takes an administrator: Windows asks once when the program starts."};

}  // namespace

int main(int argc, char** argv) {
  if (const auto status = zentor::app::AnswerWithoutWindow(argc, argv, kProgram)) return *status;
  const auto platform = zentor::app::NativePlatform();
  const auto files = zentor::app::NativeWorkingDirectory();
  zentor::app::FlashApp().Run(*platform, *files, zentor::app::UserTemplateLanguage());
  return 0;
}
