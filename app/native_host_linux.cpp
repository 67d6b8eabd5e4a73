// SPDX-License-Identifier: GPL-2.0-or-later
#include <unistd.h>

#include "app/native_host.h"
#include "platform/linux/linux_platform.h"
#include "platform/linux/posix_file_system.h"

namespace zentor::app {

std::unique_ptr<platform::Platform> NativePlatform(platform::KeepUpSetting keepUp) {
  return std::make_unique<platform::linux_os::LinuxPlatform>(std::move(keepUp.notice));
}

std::unique_ptr<platform::Platform> NativePlatformOver(platform::DeviceIo& devices) {
  return std::make_unique<platform::linux_os::LinuxPlatform>(devices);
}

std::unique_ptr<platform::FileSystem> NativeWorkingDirectory() {
  return std::make_unique<platform::linux_os::PosixFileSystem>();
}

CommandLine::CommandLine(int argc, char** argv) : arguments_(argv, argv + argc) {
  for (std::string& argument : arguments_)
    pointers_.push_back(argument.data());
  pointers_.push_back(nullptr);
}

// A terminal takes the bytes as they are.
void TextStreamsInUtf8() {}

bool ErrorStreamIsTerminal() {
  return ::isatty(STDERR_FILENO) == 1;
}

}  // namespace zentor::app
