#include <io.h>
#include <windows.h>

#include <cstdio>

#include "app/native_host.h"
#include "platform/windows/windows_file_system.h"
#include "platform/windows/windows_platform.h"

namespace zentor::app {

std::unique_ptr<platform::Platform> NativePlatform(platform::KeepUpNotice notice) {
  return std::make_unique<platform::windows::WindowsPlatform>(std::move(notice));
}

std::unique_ptr<platform::Platform> NativePlatformOver(platform::DeviceIo& devices,
                                                       platform::KeepUpNotice notice) {
  return std::make_unique<platform::windows::WindowsPlatform>(devices, std::move(notice));
}

std::unique_ptr<platform::FileSystem> NativeWorkingDirectory() {
  return std::make_unique<platform::windows::WindowsFileSystem>();
}

bool ErrorStreamIsTerminal() {
  return _isatty(_fileno(stderr)) != 0;
}

resources::TemplateLanguage UserTemplateLanguage() {
  return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE
             ? resources::TemplateLanguage::Japanese
             : resources::TemplateLanguage::English;
}

}  // namespace zentor::app
