// SPDX-License-Identifier: GPL-2.0-or-later
// A user's files named in any language, under Wine with the system code page the test was
// started with (Wine takes it from the Unix locale): zentor-cli.exe lists them and updates
// from one with its output on a pipe, as a script reads it, and zentor.exe handed one's full
// path, as when the file is dropped on it, works in its folder with that file chosen.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/utf8_path.h"
#include "platform/windows/wide_text.h"
#include "ui/control_ids.h"

namespace zentor {
namespace {

namespace fs = std::filesystem;
using platform::windows::Utf8;
using platform::windows::Wide;

// The programs' Unix paths as Windows sees them under Wine.
std::wstring ProgramPath(std::string unixPath) {
  std::ranges::replace(unixPath, '/', '\\');
  return Wide("Z:" + unixPath);
}

struct Ended {
  DWORD status = 0;
  std::string out;
};

HANDLE Inherited(HANDLE handle) {
  SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  return handle;
}

// Starts a program in a folder, its standard output on a pipe when `out` is given.
PROCESS_INFORMATION Start(const std::wstring& program, const std::wstring& arguments,
                          const fs::path& folder, HANDLE out = nullptr) {
  const HANDLE none = Inherited(CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
  STARTUPINFOW start{};
  start.cb = sizeof start;
  start.dwFlags = STARTF_USESTDHANDLES;
  start.hStdInput = start.hStdError = none;
  start.hStdOutput = out ? Inherited(out) : none;
  std::wstring line = L"\"" + program + L"\" " + arguments;
  PROCESS_INFORMATION process{};
  EXPECT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                             folder.c_str(), &start, &process));
  CloseHandle(none);
  return process;
}

DWORD Wait(const PROCESS_INFORMATION& process) {
  DWORD status = 255;
  // A program left waiting (a message box nobody closes) would hold the test run for ever.
  if (WaitForSingleObject(process.hProcess, 120'000) == WAIT_TIMEOUT)
    TerminateProcess(process.hProcess, 255);
  GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return status;
}

Ended Cli(const std::wstring& arguments, const fs::path& folder) {
  HANDLE read = nullptr, write = nullptr;
  CreatePipe(&read, &write, nullptr, 0);
  const PROCESS_INFORMATION process = Start(ProgramPath(ZENTOR_CLI_EXE), arguments, folder, write);
  CloseHandle(write);
  Ended ended;
  char buffer[4096];
  for (DWORD count = 0; ReadFile(read, buffer, sizeof buffer, &count, nullptr) && count > 0;)
    ended.out.append(buffer, count);
  CloseHandle(read);
  ended.status = Wait(process);
  return ended;
}

// The visible dialog of another process, as an accessibility tool finds it.
HWND DialogOf(DWORD processId) {
  std::pair<DWORD, HWND> found{processId, nullptr};
  for (int tries = 0; tries < 600 && !found.second; ++tries) {
    Sleep(50);
    EnumWindows(
        [](HWND window, LPARAM lookedFor) {
          auto& [id, dialog] = *reinterpret_cast<std::pair<DWORD, HWND>*>(lookedFor);
          DWORD owner = 0;
          GetWindowThreadProcessId(window, &owner);
          if (owner != id || !IsWindowVisible(window) ||
              !GetDlgItem(window, ui::kSourceFileList)) {
            return TRUE;
          }
          dialog = window;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
  }
  return found.second;
}

std::string TextOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return Utf8(text);
}

TEST(NamesInAnyLanguage, AreListedUpdatedFromAndChosenInTheWindow) {
  const char* codePage = std::getenv("ZENTOR_CODE_PAGE");
  ASSERT_NE(codePage, nullptr);
  ASSERT_EQ(GetACP(), static_cast<UINT>(std::atoi(codePage)));  // else the test shows nothing
  const fs::path top =
      fs::temp_directory_path() / ("zentor-names-" + std::to_string(GetCurrentProcessId()));
  const fs::path folder = top / platform::PathOfUtf8("ファームウェア");
  fs::create_directories(folder);
  ASSERT_EQ(Cli(L"--simulate samples", folder).status, 0u);
  fs::rename(folder / "kxr42.vrl", folder / platform::PathOfUtf8("ファーム新.vrl"));
  fs::rename(folder / "kxr70.vrl", folder / platform::PathOfUtf8("Müller.vrl"));
  fs::remove(folder / "kxr60.vrl");
  fs::remove(folder / "kxr80.vrl");

  const Ended files = Cli(L"files", folder);
  EXPECT_EQ(files.status, 0u);
  EXPECT_EQ(files.out,
            "Müller.vrl\tZT-KXR70 KX4410B KXR70   8.515\r\n"
            "ファーム新.vrl\tZT-KXR42 KX4410B KXR42   8.515\r\n");
  const Ended json = Cli(L"--json files", folder);
  EXPECT_NE(json.out.find(R"({"name":"Müller.vrl","usable":true,"form":"stored","drive":"ZT-KXR70)"),
            std::string::npos)
      << json.out;
  EXPECT_NE(json.out.find(R"({"name":"ファーム新.vrl","usable":true,"form":"stored","drive":"ZT-KXR42)"),
            std::string::npos)
      << json.out;

  // The window, started on the file's full path from elsewhere, as Explorer starts it.
  const fs::path file = folder / platform::PathOfUtf8("ファーム新.vrl");
  const PROCESS_INFORMATION window = Start(ProgramPath(ZENTOR_WINDOW_EXE),
                                           L"\"" + file.wstring() + L"\"", top);
  const HWND dialog = DialogOf(window.dwProcessId);
  if (!dialog) TerminateProcess(window.hProcess, 255);
  ASSERT_NE(dialog, nullptr);
  const HWND list = GetDlgItem(dialog, ui::kSourceFileList);
  std::vector<std::string> entries;
  for (LRESULT i = 0; i < SendMessageW(list, CB_GETCOUNT, 0, 0); ++i) {
    wchar_t entry[256] = {};
    SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry));
    entries.push_back(Utf8(entry));
  }
  EXPECT_EQ(entries, (std::vector<std::string>{"Müller.vrl", "ファーム新.vrl"}));
  EXPECT_EQ(SendMessageW(list, CB_GETCURSEL, 0, 0), 1);
  // What the window says of the chosen file follows it, as when a user picks it.
  EXPECT_EQ(TextOf(GetDlgItem(dialog, ui::kFileIdentLabel)), "ZT-KXR42 KX4410B KXR42   8.515");
  SendMessageW(GetDlgItem(dialog, ui::kBackupCheckBox), BM_CLICK, 0, 0);
  EXPECT_EQ(TextOf(GetDlgItem(dialog, ui::kBackupNameLabel)), "CDRWFW00.VRL");
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(Wait(window), 0u);

  const Ended update = Cli(L"--simulate update --drive cdrom0 --backup --file ファーム新.vrl", folder);
  EXPECT_EQ(update.status, 0u);
  EXPECT_NE(update.out.find(" *** OK ** OK ** OK *** "), std::string::npos) << update.out;
  EXPECT_EQ(fs::file_size(folder / "CDRWFW00.VRL"), 1048576u);
  fs::remove_all(top);
}

}  // namespace
}  // namespace zentor
