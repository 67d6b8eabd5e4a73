#pragma once

#include <memory>

#include "platform/device_io.h"
#include "platform/file_system.h"
#include "platform/platform.h"
#include "resources/dialog_template.h"

namespace zentor::app {

// The machine the program runs on, one implementation per system (Linux, Windows).

// Its drives, clock, program file and keeping up; `notice` hears once when the machine
// could not be kept up for an update.
std::unique_ptr<platform::Platform> NativePlatform(platform::KeepUpNotice notice = {});
// The same with other drives in place of the system's (the demo's virtual drives).
std::unique_ptr<platform::Platform> NativePlatformOver(platform::DeviceIo& devices,
                                                       platform::KeepUpNotice notice = {});
// The working directory.
std::unique_ptr<platform::FileSystem> NativeWorkingDirectory();
// Whether the error stream is a terminal, where a progress bar may be redrawn in place.
bool ErrorStreamIsTerminal();
// The window's template variant for the user's language (Windows; the Qt window asks Qt).
resources::TemplateLanguage UserTemplateLanguage();

}  // namespace zentor::app
