#include <unistd.h>

#include "app/native_host.h"
#include "platform/linux/linux_platform.h"
#include "platform/linux/posix_file_system.h"

namespace zentor::app {

std::unique_ptr<platform::Platform> NativePlatform(platform::KeepUpNotice notice) {
  return std::make_unique<platform::linux_os::LinuxPlatform>(std::move(notice));
}

std::unique_ptr<platform::Platform> NativePlatformOver(platform::DeviceIo& devices,
                                                       platform::KeepUpNotice notice) {
  return std::make_unique<platform::linux_os::LinuxPlatform>(devices, std::move(notice));
}

std::unique_ptr<platform::FileSystem> NativeWorkingDirectory() {
  return std::make_unique<platform::linux_os::PosixFileSystem>();
}

bool ErrorStreamIsTerminal() {
  return ::isatty(STDERR_FILENO) == 1;
}

}  // namespace zentor::app
