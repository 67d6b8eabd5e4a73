// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/cli/cli_commands.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include "app/cli/drive_choice.h"
#include "app/cli/echoing_view.h"
#include "app/cli/interrupt_shield.h"
#include "app/cli/json_listing.h"
#include "app/cli/json_report.h"
#include "app/cli/terminal_report.h"
#include "ui/control_ids.h"
#include "ui/flash_dialog.h"
#include "ui/wizard_step.h"

namespace zentor::app::cli {
namespace {

std::vector<std::string> Entries(const ui::DialogView& view, int list) {
  std::vector<std::string> entries;
  for (int i = 0; i < view.ListCount(list); ++i)
    entries.push_back(view.ListEntry(list, i));
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

// The update as a user would do it in the window: drive, file, backup box, Next, Start.
// Every way out ends the report with how the update ended.
int RunUpdate(const CliOptions& options, ui::FlashDialog& dialog, EchoingView& view,
              UpdateReport& report, CliStreams streams) {
  const auto end = [&](int status, const std::string& error = {}) {
    report.Result(dialog.WizardStep, status, error);
    return status;
  };
  const auto fail = [&](int status, const std::string& error) {
    streams.err << "zentor-cli: " << error << "\n";
    return end(status, error);
  };
  const std::vector<std::string> drives = Entries(view, ui::kTargetDriveList);
  const std::optional<int> drive = ResolveDrive(options.drive, drives);
  if (!drive) {
    const std::string error = "no single drive \"" + options.drive + "\" in the list";
    return end(UsageError(streams, error, "drives", drives), error);
  }
  const std::vector<std::string> files = Entries(view, ui::kSourceFileList);
  const auto file = std::ranges::find(files, options.file);
  if (file == files.end()) {
    const std::string error = "no file \"" + options.file + "\" in the list";
    return end(UsageError(streams, error, "files", files), error);
  }

  view.StartEcho(report, dialog.WizardStep, dialog.backupWritten);
  view.SelectEntry(ui::kTargetDriveList, *drive);
  view.SelectEntry(ui::kSourceFileList, static_cast<int>(file - files.begin()));
  if (options.backup && view.Check(ui::kBackupCheckBox) != ui::kChecked) {
    view.Click(ui::kBackupCheckBox);
  }
  // Without the backup that was asked for, the drive's firmware is not touched.
  if (options.backup && view.Check(ui::kBackupCheckBox) != ui::kChecked) {
    return fail(kExitNotCompleted, "the backup could not be chosen; nothing was written");
  }

  if (!view.Click(ui::kNextStartButton) || dialog.WizardStep != ui::StepReady) {
    return fail(kExitNotCompleted, "the dialog did not get ready to start; nothing was written");
  }
  {
    const InterruptShield shield;
    view.Click(ui::kNextStartButton);
  }
  // A backup can stand whole and still have failed: its folder could not be synced, so its
  // name may not survive a power cut. The file is kept, and the user is told where it is.
  if (dialog.WizardStep == ui::StepBackupFailed && !dialog.backupWritten.empty()) {
    return fail(kExitNotCompleted, "the backup " + dialog.backupWritten +
                                       " was written, but its folder could not be synced to the"
                                       " disk: it is kept, and the drive was not updated");
  }
  return end(dialog.WizardStep == ui::StepCompleted ? kExitCompleted : kExitNotCompleted);
}

int ListDrives(const CliOptions& options, ui::FlashDialog& dialog, EchoingView& view,
               platform::DeviceIo& devices, CliStreams streams) {
  const std::vector<std::string> entries = Entries(view, ui::kTargetDriveList);
  if (entries.empty()) streams.err << "zentor-cli: no supported drive was found\n";
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const std::string& entry : entries) {
    if (options.json) {
      list.push_back(DriveJson(entry, dialog.drives().transportKind, devices));
    } else {
      streams.out << entry << '\n';
    }
  }
  if (options.json) WriteJsonLine(streams.out, list);
  return kExitCompleted;
}

// Each file is selected in turn, as a user would to see what it is for.
int ListFiles(const CliOptions& options, ui::FlashDialog& dialog, EchoingView& view,
              platform::FileSystem& files, CliStreams streams) {
  const int count = view.ListCount(ui::kSourceFileList);
  if (count == 0) {
    streams.err << "zentor-cli: no firmware file (*.vrl, *.bin) in the current directory\n";
  }
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (int i = 0; i < count; ++i) {
    view.SelectEntry(ui::kSourceFileList, i);
    const std::string name = view.ListEntry(ui::kSourceFileList, i);
    const std::string driveLine = view.Text(ui::kFileIdentLabel);
    if (options.json) {
      list.push_back(FileJson(name, dialog, driveLine, files));
    } else {
      streams.out << name << '\t' << driveLine << '\n';
    }
  }
  if (options.json) WriteJsonLine(streams.out, list);
  return kExitCompleted;
}

}  // namespace

int RunDialogCommand(const CliOptions& options, platform::Platform& platform,
                     platform::FileSystem& files, CliStreams streams) {
  EchoingView view(streams.err);
  ui::FlashDialog dialog(view, files, platform);
  view.Connect(&dialog);
  // An update reports how it ended on every way out, a start that failed included.
  std::unique_ptr<UpdateReport> report;
  if (options.command == Command::Update && options.json) {
    report = std::make_unique<JsonReport>(streams.out);
  } else if (options.command == Command::Update) {
    report = std::make_unique<TerminalReport>(streams.out, streams.err, streams.liveProgress);
  }
  if (!dialog.InitDialog()) {
    const auto& boxes = view.MessageBoxes();
    if (report) {
      report->Result(
          dialog.WizardStep, kExitStartupFailed,
          boxes.empty() ? "the program could not start" : TerminalLines(boxes.back().text));
    }
    return kExitStartupFailed;
  }
  if (options.japanese) view.Click(ui::kJapaneseRadio);

  switch (options.command) {
    case Command::Drives:
      return ListDrives(options, dialog, view, platform, streams);
    case Command::Files:
      return ListFiles(options, dialog, view, files, streams);
    case Command::Update:
      return RunUpdate(options, dialog, view, *report, streams);
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
