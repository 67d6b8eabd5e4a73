// SPDX-License-Identifier: GPL-2.0-or-later
// zentor-demo: the update program over virtual drives, with sample firmware files in a
// fresh temporary working directory, so a complete update can be tried without hardware.

#include <unistd.h>

#include <QApplication>
#include <QLocale>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <filesystem>

#include "app/demo_machine.h"
#include "app/flash_app.h"
#include "app/window_options.h"
#include "app/window_programs.h"
#include "platform/linux/posix_file_system.h"
#include "ui/qt/template_font.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;

extern "C" void RequestStop(int) {
  stopRequested = 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (const auto status = zentor::app::AnswerWithoutWindow(argc, argv, zentor::app::kDemoWindow)) return *status;
  QApplication application(argc, argv);

  // Ctrl-C or a kill ends the demo like its Close button, so its directory is removed too.
  std::signal(SIGINT, RequestStop);
  std::signal(SIGTERM, RequestStop);
  QTimer stopWatch;
  QObject::connect(&stopWatch, &QTimer::timeout, [] {
    if (stopRequested) QCoreApplication::exit(0);
  });
  stopWatch.start(100);

  std::string directory = (std::filesystem::temp_directory_path() / "zentor-demo-XXXXXX").string();
  if (::mkdtemp(directory.data()) == nullptr || ::chdir(directory.c_str()) != 0) {
    std::perror("zentor-demo: cannot make a working directory");
    return 1;
  }
  std::fprintf(stderr, "zentor-demo: working in %s (removed at the end)\n", directory.c_str());

  int status = 0;
  {
    zentor::app::DemoMachine machine;
    zentor::platform::linux_os::PosixFileSystem files;
    zentor::app::WriteSampleFiles(machine.drives(), files);
    zentor::app::RunWindow(machine.platform(), files,
                                zentor::ui::qt::TemplateLanguageOf(QLocale::system()));
  }
  std::error_code error;
  std::filesystem::remove_all(directory, error);
  if (error) {
    std::fprintf(stderr, "zentor-demo: could not remove %s: %s\n", directory.c_str(),
                 error.message().c_str());
    status = 1;
  }
  return status;
}
