#include "app/cli/cli_commands.h"

#include <algorithm>
#include <optional>
#include <string>

#include "app/cli/drive_choice.h"
#include "app/cli/echoing_view.h"
#include "app/cli/interrupt_shield.h"
#include "ui/control_ids.h"
#include "ui/flash_dialog.h"
#include "ui/wizard_step.h"

namespace zentor::app::cli {
namespace {

std::vector<std::string> Entries(const ui::DialogView& view, int list) {
  std::vector<std::string> entries;
  for (int i = 0; i < view.ListCount(list); ++i) entries.push_back(view.ListEntry(list, i));
  return entries;
}

int UsageError(CliStreams streams, const std::string& what, const std::string& listName,
               const std::vector<std::string>& entries) {
  streams.err << "zentor-cli: " << what << "\n";
  if (entries.empty()) {
    streams.err << "There are no " << listName << ".\n";
  } else {
    streams.err << "The " << listName << " are:\n";
    for (std::size_t i = 0; i < entries.size(); ++i) {
      streams.err << "  " << i << "  " << entries[i] << "\n";
    }
  }
  return kExitUsage;
}

int RunUpdate(const CliOptions& options, ui::FlashDialog& dialog, EchoingView& view,
              ProgressDisplay& progress, CliStreams streams) {
  const std::vector<std::string> drives = Entries(view, ui::kTargetDriveList);
  const std::optional<int> drive = ResolveDrive(options.drive, drives);
  if (!drive) {
    return UsageError(streams, "no single drive \"" + options.drive + "\" in the list", "drives",
                      drives);
  }
  const std::vector<std::string> files = Entries(view, ui::kSourceFileList);
  const auto file = std::ranges::find(files, options.file);
  if (file == files.end()) {
    return UsageError(streams, "no file \"" + options.file + "\" in the list", "files", files);
  }

  view.StartEcho();
  view.SelectEntry(ui::kTargetDriveList, *drive);
  view.SelectEntry(ui::kSourceFileList, static_cast<int>(file - files.begin()));
  if (options.backup && view.Check(ui::kBackupCheckBox) != ui::kChecked) {
    view.Click(ui::kBackupCheckBox);
  }
  // Without the backup that was asked for, the drive's firmware is not touched.
  if (options.backup && view.Check(ui::kBackupCheckBox) != ui::kChecked) {
    streams.err << "zentor-cli: the backup could not be chosen; nothing was written\n";
    return kExitNotCompleted;
  }

  if (!view.Click(ui::kNextStartButton) || dialog.WizardStep != ui::StepReady) {
    streams.err << "zentor-cli: the dialog did not get ready to start; nothing was written\n";
    return kExitNotCompleted;
  }
  {
    const InterruptShield shield;
    view.Click(ui::kNextStartButton);
  }
  progress.Finish();
  return dialog.WizardStep == ui::StepCompleted ? kExitCompleted : kExitNotCompleted;
}

}  // namespace

int RunDialogCommand(const CliOptions& options, platform::Platform& platform,
                     platform::FileSystem& files, CliStreams streams) {
  ProgressDisplay progress(streams.err, streams.liveProgress);
  EchoingView view(streams.out, streams.err, progress);
  ui::FlashDialog dialog(view, files, platform);
  view.Connect(&dialog);
  if (!dialog.InitDialog()) return kExitStartupFailed;
  if (options.japanese) view.Click(ui::kJapaneseRadio);

  switch (options.command) {
    case Command::Drives:
      for (const std::string& entry : Entries(view, ui::kTargetDriveList)) {
        streams.out << entry << '\n';
      }
      return kExitCompleted;
    case Command::Files:
      for (int i = 0; i < view.ListCount(ui::kSourceFileList); ++i) {
        view.SelectEntry(ui::kSourceFileList, i);
        streams.out << view.ListEntry(ui::kSourceFileList, i) << '\t'
                    << view.Text(ui::kFileIdentLabel) << '\n';
      }
      return kExitCompleted;
    case Command::Update:
      return RunUpdate(options, dialog, view, progress, streams);
    case Command::None:
    case Command::Samples:
      break;
  }
  return kExitUsage;
}

int WriteSamples(const std::vector<DemoDrive>& drives, platform::FileSystem& files,
                 CliStreams streams) {
  const std::vector<std::string> written = WriteSampleFiles(drives, files);
  int status = kExitCompleted;
  for (const DemoDrive& drive : drives) {
    if (std::ranges::find(written, drive.fileName) != written.end()) {
      streams.out << "wrote " << drive.fileName << '\n';
    } else if (files.OpenForReading(drive.fileName).file) {
      streams.err << "kept " << drive.fileName << ": the name is taken\n";
    } else {
      streams.err << "zentor-cli: could not write " << drive.fileName << '\n';
      status = kExitNotCompleted;
    }
  }
  return status;
}

}  // namespace zentor::app::cli
