// SPDX-License-Identifier: GPL-2.0-or-later
// zentor-demo.exe: the update window over virtual drives, with sample firmware files in a
// fresh temporary folder, so a complete update can be tried without hardware.

#include <windows.h>

#include <filesystem>
#include <random>
#include <string>

#include "app/demo_machine.h"
#include "app/flash_app.h"
#include "app/native_host.h"
#include "app/window_options.h"
#include "app/window_programs.h"
#include "platform/utf8_path.h"
#include "platform/windows/console_text.h"

namespace {

// A folder of its own under the user's temporary folder, made anew (never one that exists).
std::filesystem::path MakeWorkingFolder() {
  std::random_device seed;
  std::mt19937 random(seed());
  const std::filesystem::path base = std::filesystem::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path folder = base / ("zentor-demo-" + std::to_string(random()));
    std::error_code error;
    if (std::filesystem::create_directory(folder, error)) return folder;
  }
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  zentor::app::CommandLine line(argc, argv);
  if (const auto status = zentor::app::AnswerWithoutWindow(line.argc(), line.argv(), zentor::app::kDemoWindow)) {
    return *status;
  }
  const std::filesystem::path folder = MakeWorkingFolder();
  std::error_code error;
  if (folder.empty() || (std::filesystem::current_path(folder, error), error)) {
    MessageBoxW(nullptr, L"Cannot make a working folder for the demo.", L"zentor-demo",
                MB_OK | MB_ICONSTOP);
    return 1;
  }
  {
    zentor::app::DemoMachine machine;
    const auto files = zentor::app::NativeWorkingDirectory();
    zentor::app::WriteSampleFiles(machine.drives(), *files);
    zentor::app::RunWindow(machine.platform(), *files, zentor::app::UserTemplateLanguage());
  }
  // Out of the folder before it goes: Windows does not remove a process's current folder.
  std::filesystem::current_path(folder.parent_path(), error);
  std::filesystem::remove_all(folder, error);
  if (error) {
    zentor::platform::windows::WriteText(stderr, "zentor-demo: could not remove " +
                                                     zentor::platform::Utf8OfPath(folder) + ": " +
                                                     error.message() + "\n");
    return 1;
  }
  return 0;
}
