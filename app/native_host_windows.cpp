// SPDX-License-Identifier: GPL-2.0-or-later
#include <io.h>
#include <windows.h>
// after windows.h, which it builds on
#include <shellapi.h>

#include <cstdio>

#include "app/native_host.h"
#include "platform/windows/console_text.h"
#include "platform/windows/wide_text.h"
#include "platform/windows/windows_file_system.h"
#include "platform/windows/windows_platform.h"

namespace zentor::app {

std::unique_ptr<platform::Platform> NativePlatform(platform::KeepUpSetting keepUp) {
  return std::make_unique<platform::windows::WindowsPlatform>(std::move(keepUp));
}

std::unique_ptr<platform::Platform> NativePlatformOver(platform::DeviceIo& devices) {
  return std::make_unique<platform::windows::WindowsPlatform>(devices);
}

std::unique_ptr<platform::FileSystem> NativeWorkingDirectory() {
  return std::make_unique<platform::windows::WindowsFileSystem>();
}

CommandLine::CommandLine(int argc, char** argv) {
  int count = 0;
  if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
    for (int i = 0; i < count; ++i)
      arguments_.push_back(platform::windows::Utf8(wide[i]));
    LocalFree(wide);
  }
  if (arguments_.empty()) arguments_.assign(argv, argv + argc);  // never without its name
  for (std::string& argument : arguments_)
    pointers_.push_back(argument.data());
  pointers_.push_back(nullptr);
}

void TextStreamsInUtf8() {
  platform::windows::WriteStandardStreamsAsText();
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
