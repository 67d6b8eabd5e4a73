#pragma once

#include <array>
#include <string>

#include "firmware/firmware_image.h"
#include "platform/file_system.h"
#include "ui/dialog_view.h"

namespace zentor::ui {

// The program's one dialog and the owner of its state. It reaches its window only through
// the DialogView port, so every rule below runs the same behind a real window, the
// in-memory view of the tests and the command-line front end. The firmware image and the
// selected file's identity are its fields too.
class FlashDialog : public DialogEvents, public firmware::FirmwareImage {
 public:
  // The application icon, by resource id; the view loads the picture.
  static constexpr int kAppIconResource = 128;

  FlashDialog(DialogView& view, platform::FileSystem& files) : view_(view), files_(files) {}
  FlashDialog(const FlashDialog&) = delete;
  FlashDialog& operator=(const FlashDialog&) = delete;

  DialogView& view() { return view_; }

  // --- user-interface fields
  int appIcon = kAppIconResource;
  std::string labelTargetDrive;
  std::string labelSourceFile;
  std::string labelInformation;
  std::string labelProgress;
  std::string infoText;
  std::string versionText;
  // The text last entered in the password prompt, kept for the check at Start.
  std::string typedPassword;
  // The wizard's step (Step values; any other value shows nothing). Its first value comes
  // with the dialog's initialisation.
  int WizardStep = 0;
  int UiLanguage = 0;
  // The last position sent to the progress bar (range 0..120).
  int progressPosition = 0;

  // Caption of the program's own message boxes: the program's name.
  std::string applicationName = "zentor";

  // --- bound fields of the file and backup side (fileIdentText is the image's)
  std::string backupFileName;
  // "Update Loader": taken from its check box at every pull, read by the flash start.
  int updateLoader = 0;
  // Set when the drive can be read only through the alternate read, so no backup is
  // possible; cleared only here, when the dialog is built.
  int FlashReadUnsupported = 0;
  // The identified drive's family: it decides how a stored file is unscrambled.
  int driveFamily = 0;

  // --- data exchange: both directions always move every bound field
  void PushBoundFields();
  void PullBoundFields();

  // --- the wizard
  void ShowStep();
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
  int LoadFirmwareImage(const std::string& name);
  void UpdateBackupName();

  // --- the hidden options
  void ConfirmPassType();

  // --- the event table
  void Clicked(int id) override;
  void SelectionChanged(int id) override;
  void CancelCommand() override;

 private:
  void SetLanguageTexts(int language);

  DialogView& view_;
  platform::FileSystem& files_;
};

}  // namespace zentor::ui
