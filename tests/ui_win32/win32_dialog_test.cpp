// SPDX-License-Identifier: GPL-2.0-or-later
// The real Win32 window under Wine, driven through its controls' messages: what a user sees
// and can do.

#include <windows.h>
// after windows.h, which it builds on
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "app/demo_machine.h"
#include "app/responsive_platform.h"
#include "platform/sim/sim_platform.h"
#include "platform/windows/wide_text.h"
#include "tests/firmware/memory_file_system.h"
#include "ui/control_ids.h"
#include "ui/drive_in_use_notice.h"
#include "ui/flash_dialog.h"
#include "ui/message_catalogue.h"
#include "ui/win32/template_in_memory.h"
#include "ui/win32/win32_dialog_view.h"

namespace zentor {
namespace {

// Edits hold CR LF, the catalogue's texts LF.
std::string Lf(std::string_view text) {
  std::string plain(text);
  std::erase(plain, '\r');
  return plain;
}

std::string TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return Lf(platform::windows::Utf8(text));
}

// What the window showed each time the dialog made it repaint.
class RecordingWindow : public ui::win32::Win32DialogView {
 public:
  using Win32DialogView::Win32DialogView;
  void RepaintNow() override {
    Win32DialogView::RepaintNow();
    progress.push_back(static_cast<int>(SendMessageW(Control(ui::kProgressBar), PBM_GETPOS, 0, 0)));
  }
  std::vector<int> progress;
};

// Runs `work` from the thread's own message loop every 10 ms until it returns true: inside
// a running update (which lets the window system in) or a message box's loop.
std::function<bool()> timerWork;
void CALLBACK OnTimer(HWND, UINT, UINT_PTR timer, DWORD) {
  if (timerWork && timerWork()) KillTimer(nullptr, timer), timerWork = nullptr;
}
void WhileRunning(std::function<bool()> work) {
  timerWork = std::move(work);
  SetTimer(nullptr, 0, 10, OnTimer);
}

// A visible dialog of this thread shown over another window: a message box.
HWND ThreadDialog() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND candidate, LPARAM lookedFor) {
        wchar_t name[16];
        GetClassNameW(candidate, name, 16);
        if (std::wstring_view(name) != L"#32770" || !IsWindowVisible(candidate) ||
            !GetWindow(candidate, GW_OWNER)) {
          return TRUE;
        }
        *reinterpret_cast<HWND*>(lookedFor) = candidate;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// The demo's drives on virtual time, their update files in memory, and the dialog in a
// real window.
struct Rig {
  Rig() {
    machine.SetProgramFile("C:\\zentor\\zentor.exe", {});
    drives = app::AttachDemoDrives(machine.bus(), machine.clock());
    app::WriteSampleFiles(drives, files);
    window.Connect(&dialog);
  }
  bool Start() {
    return window.Start([this] { dialog.InitDialog(); });
  }
  HWND Control(int id) const { return window.Control(id); }
  std::string Text(int id) const { return TextOf(Control(id)); }
  void Click(int id) { SendMessageW(Control(id), BM_CLICK, 0, 0); }
  // Picks an entry of a drop-down list as the user does: the list tells its dialog.
  void Choose(int id, const std::string& entry) {
    const LRESULT index =
        SendMessageW(Control(id), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(platform::windows::Wide(entry).c_str()));
    ASSERT_NE(index, CB_ERR) << entry;
    SendMessageW(Control(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(window.window(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(Control(id)));
  }
  bool ShutdownAllowed() {
    return SendMessageW(window.window(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF) != FALSE;
  }

  platform::sim::SimPlatform machine;
  test_support::MemoryFileSystem files;
  std::vector<app::DemoDrive> drives;
  RecordingWindow window{resources::TemplateLanguage::English};
  app::ResponsivePlatform responsive{machine, [this] { window.LetWindowSystemIn(); }};
  ui::FlashDialog dialog{window, files, responsive};
};

TEST(Win32Dialog, ChosenDriveAndFileUpdateToOkWithBackupWhileTheWindowRefusesInput) {
  Rig rig;
  ASSERT_TRUE(rig.Start());
  const HWND window = rig.window.window();
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(TextOf(window), "Zentor");
  EXPECT_EQ(SendMessageW(rig.Control(ui::kTargetDriveList), CB_GETCOUNT, 0, 0), 4);
  EXPECT_NE(SendMessageW(window, WM_GETICON, ICON_BIG, 0), 0);

  const app::DemoDrive& second = rig.drives[1];
  rig.Choose(ui::kTargetDriveList, rig.dialog.view().ListEntry(ui::kTargetDriveList, 1));
  rig.Choose(ui::kSourceFileList, second.fileName);
  rig.Click(ui::kBackupCheckBox);
  EXPECT_EQ(rig.Text(ui::kBackupNameLabel), "CDRWFW00.VRL");
  rig.files.Put("CDRWFW00.VRL", {7});  // another program takes the name: the backup moves on
  rig.Click(ui::kNextStartButton);
  EXPECT_EQ(rig.Text(ui::kNextStartButton), ui::NextCaptionTexts(ui::NextCaption::Start).english);

  // While the update runs, the user's tries to close the window, to change the language
  // and to log off are all refused.
  bool triedWhileUpdating = false, windowTookInput = true, shutdownAllowed = true;
  WhileRunning([&] {
    if (rig.dialog.WizardStep < 5 || second.drive->received().empty()) return false;
    triedWhileUpdating = true;
    windowTookInput = IsWindowEnabled(window);
    shutdownAllowed = rig.ShutdownAllowed();
    rig.Click(ui::kCloseButton);
    SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    PostMessageW(window, WM_CLOSE, 0, 0);
    PostMessageW(rig.Control(ui::kJapaneseRadio), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageW(rig.Control(ui::kJapaneseRadio), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    return true;
  });
  rig.Click(ui::kNextStartButton);
  EXPECT_TRUE(triedWhileUpdating);
  EXPECT_FALSE(windowTookInput);
  EXPECT_FALSE(shutdownAllowed);

  EXPECT_EQ(rig.dialog.WizardStep, 11);
  EXPECT_NE(rig.Text(ui::kInformationText).find(" *** OK ** OK ** OK *** "), std::string::npos);
  EXPECT_FALSE(rig.window.ended());
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(IsDlgButtonChecked(window, ui::kJapaneseRadio), BST_UNCHECKED);
  EXPECT_EQ(second.drive->flash(), app::UpdateImageOf(second));
  EXPECT_EQ(rig.files.files["CDRWFW00.VRL"], std::vector<std::uint8_t>{7});
  EXPECT_EQ(rig.files.files.count("CDRWFW01.VRL"), 1u);
  EXPECT_EQ(rig.Text(ui::kBackupNameLabel), "CDRWFW01.VRL");
  // The bar rose to its end, shown as it went.
  EXPECT_TRUE(
      std::is_sorted(rig.window.progress.begin(),
                     std::find(rig.window.progress.begin(), rig.window.progress.end(), 120)));
  EXPECT_EQ(*std::max_element(rig.window.progress.begin(), rig.window.progress.end()), 120);

  // Afterwards the window is the user's again, and Close ends it.
  EXPECT_TRUE(IsWindowEnabled(window));
  EXPECT_TRUE(rig.ShutdownAllowed());
  rig.Click(ui::kCloseButton);
  EXPECT_TRUE(rig.window.ended());
}

TEST(Win32Dialog, ADriveInUseIsToldInAMessageBoxOverTheWindow) {
  Rig rig;
  ASSERT_TRUE(rig.Start());
  rig.drives[0].drive->SetHeldElsewhere(true);
  rig.Click(ui::kNextStartButton);
  std::string text, caption;
  WhileRunning([&] {
    HWND box = ThreadDialog();
    if (!box) return false;
    text = TextOf(GetDlgItem(box, 0xFFFF));
    caption = TextOf(box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return true;
  });
  rig.Click(ui::kNextStartButton);
  EXPECT_EQ(rig.dialog.WizardStep, 14);
  EXPECT_EQ(text, Lf(ui::DriveInUseText({"\\\\.\\cdrom0"}, resources::TemplateLanguage::English)));
  EXPECT_EQ(caption, rig.dialog.applicationName);
  EXPECT_TRUE(IsWindowEnabled(rig.window.window()));
}

// What Windows reads: the dialog's header, title and font, then the control on a DWORD
// boundary with its class atom.
TEST(TemplateInMemory, LaysOutThePasswordDialogAsWindowsReadsIt) {
  const std::vector<std::uint8_t> expected =
      {
          0xC4, 0x08, 0xC8, 0x80, 0,    0,    0,   0, 1,   0, 0,   0, 0,   0, 75,  0,
          33,   0,  // style, size
          0,    0,    0,    0,    'P',  0,    'a', 0, 's', 0, 's', 0, 'w', 0, 'o', 0,
          'r',  0,    'd',  0,    0,    0,    9,   0, 'A', 0, 'r', 0, 'i', 0, 'a', 0,
          'l',  0,    0,    0,    0,    0,  // font, padding
          0xA0, 0x00, 0x81, 0x50, 0,    0,    0,   0, 7,   0, 7,   0, 61,  0, 14,  0,  // the edit
          0x01, 0x04, 0xFF, 0xFF, 0x81, 0x00, 0,   0, 0,   0};
  EXPECT_EQ(ui::win32::TemplateInMemory(resources::PasswordDialogTemplate(),
                                        resources::TemplateLanguage::English),
            expected);
}

}  // namespace
}  // namespace zentor
