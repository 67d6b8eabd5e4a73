// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "firmware/firmware_image.h"
#include "firmware/source_file_check.h"
#include "platform/file_system.h"
#include "platform/platform.h"
#include "resources/dialog_template.h"
#include "resources/pictures.h"
#include "scsi/drive_access.h"
#include "ui/dialog_view.h"
#include "update/update_host.h"
#include "update/update_state.h"
#include "update/updater.h"

namespace zentor::ui {

// The names the source file list shows: the working directory's firmware files.
std::vector<std::string> SourceFileNames(platform::FileSystem& files);

// The program's one dialog and the owner of its state. It reaches its window only through
// the DialogView port, so every rule below runs the same behind a real window, the
// in-memory view of the tests and the command-line front end. The firmware image, the
// selected file's identity and the update's state are its fields too, and it owns the
// command block through which every drive is reached.
class FlashDialog : public DialogEvents,
                    public firmware::FirmwareImage,
                    public update::UpdateState,
                    public update::UpdateHost {
 public:
  FlashDialog(DialogView& view, platform::FileSystem& files, platform::Platform& platform);
  FlashDialog(const FlashDialog&) = delete;
  FlashDialog& operator=(const FlashDialog&) = delete;

  DialogView& view() { return view_; }
  scsi::DriveAccess& drives() { return drives_; }

  // --- user-interface fields
  int appIcon = resources::kAppIconResource;
  std::string labelTargetDrive;
  std::string labelSourceFile;
  std::string labelInformation;
  std::string labelProgress;
  std::string infoText;
  std::string versionText;
  int UiLanguage = 0;

  // Caption of the program's own message boxes: the program file's name without extension.
  std::string applicationName;

  // --- the dialog's start: false when the program must end (no transport could be set up;
  // the dialog has then been ended with result 0 after a message box)
  bool InitDialog();
  std::string BuildVersionText();
  // After the start, when the drive list is empty because the system refused this user a
  // drive: what to tell the user, in the template variant's language; empty when the
  // list is not empty or nothing was refused.
  std::string EmptyDriveListNotice(resources::TemplateLanguage language);

  // --- data exchange: both directions always move every bound field
  void PushBoundFields();
  void PullBoundFields() override;

  // --- the wizard
  void ShowStep() override;
  void SetEnglishTexts();
  void SetJapaneseTexts();
  void GoBack();
  void OnNextStart();

  // --- firmware files and the backup name
  // The two halves of filling the source list: the dialog's start runs the drive scan
  // between them.
  void FillSourceFileEntries();
  void SelectFirstSourceFile();
  void FillSourceFileList();
  void IdentifySourceFile();
  // 1 when imageBuffer holds the plain image of the named file, else 0.
  int LoadFirmwareImage(const std::string& name) override;
  void UpdateBackupName();

  // --- the hidden options
  void ConfirmPassType();

  // --- what the update reads and switches in the dialog
  void SendProgressPosition() override;
  std::string SelectedDriveLabel() override;
  std::string SelectedSourceFile() override;
  int BackupBoxState() override;
  int PassTypeBoxState() override;
  void EnableNextStart(bool enabled) override;
  void EnableClose(bool enabled) override;
  void ShowBackupNotice() override;
  void ShowDriveInUse(const platform::DriveInUse& inUse) override;

  // --- the event table
  void Clicked(int id) override;
  void SelectionChanged(int id) override;
  void CancelCommand() override;

 private:
  void SetLanguageTexts(int language);
  void FillTargetDriveList();
  void FitVersionLabelToLogo();

  DialogView& view_;
  platform::Platform& platform_;
  platform::FileSystem& files_;
  // What each file turned out to be, with its stamp then: selecting it again while the
  // stamp is the same needs no second reading (the load at Start reads it anyway).
  struct KnownFile {
    platform::FileStamp stamp;
    firmware::SourceFileCheck check;
  };
  std::map<std::string, KnownFile> knownFiles_;
  scsi::DriveAccess drives_;
  update::Updater updater_;
};

}  // namespace zentor::ui
