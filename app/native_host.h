// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/device_io.h"
#include "platform/file_system.h"
#include "platform/platform.h"
#include "resources/dialog_template.h"

namespace zentor::app {

// The machine the program runs on, one implementation per system (Linux, Windows).

// Its drives, clock, program file and keeping up; the setting's notice hears once when the
// machine could not be kept up for an update. (Linux's logind asks no window, so
// `windowless` changes nothing there.)
std::unique_ptr<platform::Platform> NativePlatform(platform::KeepUpSetting keepUp = {});
// The same with other drives in place of the system's (the demo's virtual drives): an update
// of those cuts nothing real, so the machine is neither kept up nor a word said of it.
std::unique_ptr<platform::Platform> NativePlatformOver(platform::DeviceIo& devices);
// The program's command line in UTF-8, its name first. Windows hands main() the arguments
// in the system's code page, where a name outside it arrives with '?' for each character
// it cannot spell: there they are taken from the wide command line instead.
class CommandLine {
 public:
  CommandLine(int argc, char** argv);
  int argc() const { return static_cast<int>(pointers_.size()) - 1; }
  char** argv() { return pointers_.data(); }

 private:
  std::vector<std::string> arguments_;
  std::vector<char*> pointers_;
};
// Has the standard streams write the program's UTF-8 text so that it reads as such: on a
// Windows console as characters, not as bytes in the console's code page.
void TextStreamsInUtf8();
// The working directory.
std::unique_ptr<platform::FileSystem> NativeWorkingDirectory();
// Whether the error stream is a terminal, where a progress bar may be redrawn in place.
bool ErrorStreamIsTerminal();
// The window's template variant for the user's language (Windows; the Qt window asks Qt).
resources::TemplateLanguage UserTemplateLanguage();

}  // namespace zentor::app
