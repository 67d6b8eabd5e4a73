// SPDX-License-Identifier: GPL-2.0-or-later
// zentor.exe: the firmware update program for the drives of this machine, as a window.

#include <windows.h>

#include "app/flash_app.h"
#include "app/native_host.h"
#include "app/window_options.h"
#include "app/window_programs.h"

int main(int argc, char** argv) {
  using namespace zentor::app;
  CommandLine line(argc, argv);
  std::string path;
  if (const auto status = AnswerWithoutWindow(line.argc(), line.argv(), kZentorWindow, &path)) {
    return *status;
  }
  const auto files = NativeWorkingDirectory();
  const StartingPlace place = MoveToStartingPlace(path, *files);
  if (!place.error.empty()) return RefuseStartingPlace(kZentorWindow.name, place.error, true);
  const auto platform = NativePlatform();
  return RunWindow(*platform, *files, UserTemplateLanguage(), place);
}
