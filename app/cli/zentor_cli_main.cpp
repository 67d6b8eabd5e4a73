// zentor-cli: the update program for terminals, scripts and machines without a display.

#include <unistd.h>

#include <csignal>
#include <iostream>
#include <string_view>
#include <vector>

#include "app/cli/cli_commands.h"
#include "app/cli/cli_options.h"
#include "app/cli/permission_hint.h"
#include "app/cli/usage_text.h"
#include "app/demo_machine.h"
#include "app/demo_refusal.h"
#include "platform/linux/linux_platform.h"
#include "platform/linux/linux_program_file.h"
#include "platform/linux/posix_file_system.h"
#include "ui/version_text.h"

namespace cli = zentor::app::cli;

namespace {

int Run(const cli::CliOptions& options) {
  zentor::platform::linux_os::PosixFileSystem files;
  const cli::CliStreams streams{std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1};
  if (options.simulate) {
    zentor::app::DemoMachine machine;
    zentor::app::RefuseOnDemoDrives(options.refusal, machine.drives());
    if (options.command == cli::Command::Samples) {
      return cli::WriteSamples(machine.drives(), files, streams);
    }
    return cli::RunDialogCommand(options, machine.platform(), files, streams);
  }

  zentor::platform::linux_os::LinuxPlatform platform;
  const int status = cli::RunDialogCommand(options, platform, files, streams);
  // Said once, after the command, when the kernel refused a drive for lack of permission.
  std::cerr << cli::PermissionHint(platform.scsiGeneric().permissionRefusals());
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  // A reader that goes away (zentor-cli update | head) must not end an update halfway.
  std::signal(SIGPIPE, SIG_IGN);

  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  const cli::ParsedCommandLine parsed = cli::ParseCommandLine(arguments);
  if (!parsed.options) {
    std::cerr << "zentor-cli: " << parsed.error << "\n\n" << cli::kUsageText;
    return cli::kExitUsage;
  }
  if (parsed.options->help) {
    std::cout << cli::kUsageText;
    return cli::kExitCompleted;
  }
  if (parsed.options->version) {
    zentor::platform::linux_os::LinuxProgramFile program;
    std::cout << zentor::ui::VersionLines("zentor-cli", program);
    return cli::kExitCompleted;
  }
  return Run(*parsed.options);
}
