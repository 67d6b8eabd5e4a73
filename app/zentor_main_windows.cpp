// SPDX-License-Identifier: GPL-2.0-or-later
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
    "takes an administrator: Windows asks once when the program starts. Given a\n"
    "firmware file or a folder (a file dropped on zentor.exe), the window works in\n"
    "that folder instead and chooses the file."};

}  // namespace

int main(int argc, char** argv) {
  zentor::app::CommandLine line(argc, argv);
  std::string path;
  if (const auto status =
          zentor::app::AnswerWithoutWindow(line.argc(), line.argv(), kProgram, &path)) {
    return *status;
  }
  const auto platform = zentor::app::NativePlatform();
  const auto files = zentor::app::NativeWorkingDirectory();
  return zentor::app::FlashApp().Run(*platform, *files, zentor::app::UserTemplateLanguage(), path);
}
