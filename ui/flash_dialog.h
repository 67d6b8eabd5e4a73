#pragma once

#include <array>
#include <string>

#include "ui/dialog_view.h"

namespace zentor::ui {

// The program's one dialog and the owner of its state. It reaches its window only through
// the DialogView port, so every rule below runs the same behind a real window, the
// in-memory view of the tests and the command-line front end.
class FlashDialog : public DialogEvents {
 public:
  // The application icon, by resource id; the view loads the picture.
  static constexpr int kAppIconResource = 128;

  explicit FlashDialog(DialogView& view) : view_(view) {}
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

  // --- bound fields of the file and backup side
  std::string fileIdentText;
  std::string backupFileName;
  // "Update Loader": taken from its check box at every pull, read by the flash start.
  int updateLoader = 0;
  // Characters 0..7 of the selected file's identification text: the expected password.
  // All zero until a file has been identified.
  std::array<char, 9> fileShortId{};
  // Set when the drive can be read only through the alternate read, so no backup is
  // possible; cleared only here, when the dialog is built.
  int FlashReadUnsupported = 0;

  // --- data exchange: both directions always move every bound field
  void PushBoundFields();
  void PullBoundFields();

  // --- the wizard
  void ShowStep();
  void SetEnglishTexts();
  void SetJapaneseTexts();
  void GoBack();
  void OnNextStart();

  // --- the hidden options
  void ConfirmPassType();

  // --- the event table
  void Clicked(int id) override;
  void SelectionChanged(int id) override;
  void CancelCommand() override;

 private:
  void SetLanguageTexts(int language);

  DialogView& view_;
};

}  // namespace zentor::ui
