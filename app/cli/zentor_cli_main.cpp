// SPDX-License-Identifier: GPL-2.0-or-later
// zentor-cli: the update program for terminals, scripts and machines without a display.

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
#include "app/native_host.h"
#include "ui/version_text.h"

namespace cli = zentor::app::cli;

namespace {

// Said on stderr, once, when the machine could not be kept up in full for an update.
void NoteNotKeptUp(const std::string& why) {
  std::cerr << "zentor-cli: not all that could cut the update is held off (" << why
            << "); keep the machine on and awake until the update has ended\n";
}

int Run(const cli::CliOptions& options) {
  const auto files = zentor::app::NativeWorkingDirectory();
  const cli::CliStreams streams{std::cout, std::cerr, zentor::app::ErrorStreamIsTerminal()};
  if (options.simulate) {
    zentor::app::DemoMachine machine;
    zentor::app::RefuseOnDemoDrives(options.refusal, machine.drives());
    if (options.command == cli::Command::Samples) {
      return cli::WriteSamples(machine.drives(), *files, streams);
    }
    return cli::RunDialogCommand(options, machine.platform(), *files, streams);
  }

  // zentor-cli shows no window: on Windows the update's hold puts up a hidden one, so that
  // a log-off or shutdown asks before it ends the program.
  const auto platform = zentor::app::NativePlatform(
      {NoteNotKeptUp, true,
       options.japanese ? zentor::platform::kKeepUpReasonJapanese : zentor::platform::kKeepUpReason});
  const int status = cli::RunDialogCommand(options, *platform, *files, streams);
  // Said once, after the command, when the system refused a drive for lack of permission,
  // and when a drive went away under it: the outcome alone would not tell why.
  std::cerr << cli::PermissionHint(platform->permissionRefusals());
  if (const auto lost = platform->lostDrive()) {
    std::cerr << "zentor-cli: the drive went away while in use (" << lost->node << ": "
              << lost->error << ")\n";
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  zentor::app::TextStreamsInUtf8();
  zentor::app::CommandLine line(argc, argv);
#ifdef SIGPIPE
  // A reader that goes away (zentor-cli update | head) must not end an update halfway.
  std::signal(SIGPIPE, SIG_IGN);
#endif

  const std::vector<std::string_view> arguments(line.argv() + 1, line.argv() + line.argc());
  const cli::ParsedCommandLine parsed = cli::ParseCommandLine(arguments);
  if (!parsed.options) {
    std::cerr << "zentor-cli: " << parsed.error << "\n\n" << cli::kUsageText;
    return zentor::app::kExitUsage;
  }
  if (parsed.options->help) {
    std::cout << cli::kUsageText;
    return zentor::app::kExitCompleted;
  }
  if (parsed.options->version) {
    std::cout << zentor::ui::VersionLines("zentor-cli", *zentor::app::NativePlatform());
    return zentor::app::kExitCompleted;
  }
  return Run(*parsed.options);
}
