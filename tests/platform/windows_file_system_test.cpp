// SPDX-License-Identifier: GPL-2.0-or-later
// The Windows file system under Wine: what a failed open is reported as, and file stamps;
// and the hold of a program without a window.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "firmware/file_error_text.h"
#include "platform/windows/console_text.h"
#include "platform/windows/session_end_refusal.h"
#include "platform/windows/windows_file_system.h"
#include "platform/sim/sim_bus.h"
#include "platform/windows/windows_platform.h"

namespace zentor::platform::windows {
namespace {

using namespace firmware;

// Real failures: a file another program holds without sharing it, a folder that is not
// there; the stamp of a file changed at a known time; new files; console text.
TEST(WindowsFileSystem, OpensTellTheCauseStampsCountFrom1970AndNamesAreNeverReplaced) {
  const auto folder = std::filesystem::temp_directory_path() /
                      ("zentor-files-" + std::to_string(GetCurrentProcessId()));
  std::filesystem::create_directory(folder);
  std::ofstream(folder / "new.vrl") << "firmware";
  WindowsFileSystem files(folder.string());
  const HANDLE held =
      CreateFileA((folder / "new.vrl").string().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                  OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(files.OpenForReading("new.vrl").cause, kSharingViolation);
  EXPECT_EQ(WindowsFileSystem((folder / "gone").string()).OpenForReading("new.vrl").cause,
            kBadPath);

  // 2026-12-09 00:00:00 UTC: 1796774400 s after 1970, in ticks of 100 ns since 1601.
  const std::uint64_t ticks = 1'796'774'400ull * 10'000'000 + 116'444'736'000'000'000ull;
  const FILETIME written{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  ASSERT_TRUE(SetFileTime(held, nullptr, nullptr, &written));
  CloseHandle(held);
  const auto stamp = files.Stamp("new.vrl");
  ASSERT_TRUE(stamp);
  EXPECT_EQ(stamp->modifiedNs, 1'796'774'400'000'000'000);
  EXPECT_EQ(stamp->length, 8u);

  // A new file never takes a name that is there, and leaves no scratch file behind.
  const std::uint8_t bytes[] = {1, 2, 3};
  EXPECT_EQ(files.CreateNewFile("new.vrl", bytes).error, EEXIST);
  EXPECT_EQ(std::filesystem::file_size(folder / "new.vrl"), 8u);
  EXPECT_EQ(std::ranges::distance(std::filesystem::directory_iterator(folder)), 1);
  std::filesystem::remove_all(folder);

  // Text for a console reaches it as characters, whatever the console's code page.
  FreeConsole();
  ASSERT_TRUE(AllocConsole());
  FILE* console = _wfopen(L"CONOUT$", L"w");  // as the window programs reach their console
  ASSERT_NE(console, nullptr);
  const HANDLE screen = GetStdHandle(STD_OUTPUT_HANDLE);
  CONSOLE_SCREEN_BUFFER_INFO before{};
  ASSERT_TRUE(GetConsoleScreenBufferInfo(screen, &before));
  WriteText(console, "ファーム新.vrl Müller");
  const std::wstring expected = L"ファーム新.vrl Müller";
  std::wstring shown(expected.size(), L'\0');
  DWORD count = 0;
  ReadConsoleOutputCharacterW(screen, shown.data(), static_cast<DWORD>(shown.size()),
                              before.dwCursorPosition, &count);
  EXPECT_EQ(shown, expected);
}

// The hold of a program without a window puts up the hidden window that refuses a log-off,
// and takes it down again. (An update on real drives takes the hold; the kernel tier's Wine
// case shows zentor-cli.exe saying so.)
TEST(WindowsMachineHold, AWindowlessProgramsHiddenWindowLastsAsLongAsTheHold) {
  const auto hiddenWindow = [] {
    for (HWND found = nullptr;
         (found = FindWindowExW(nullptr, found, kSessionEndWindowClass, nullptr));) {
      DWORD owner = 0;
      GetWindowThreadProcessId(found, &owner);
      if (owner == GetCurrentProcessId()) return found;
    }
    return HWND{};
  };
  WindowsPlatform platform(KeepUpSetting{{}, true});
  auto hold = platform.KeepMachineUp();
  DWORD_PTR answer = TRUE;  // it refuses a log-off as Windows asks for one
  EXPECT_TRUE(SendMessageTimeoutW(hiddenWindow(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF,
                                  SMTO_ABORTIFHUNG, 5000, &answer));
  EXPECT_EQ(answer, DWORD_PTR{FALSE});
  hold.reset();
  EXPECT_EQ(hiddenWindow(), nullptr);
  // Virtual drives cut nothing real: no hold at all.
  sim::SimBus drives;
  EXPECT_EQ(WindowsPlatform(drives).KeepMachineUp(), nullptr);
}

}  // namespace
}  // namespace zentor::platform::windows
