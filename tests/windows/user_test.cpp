// SPDX-License-Identifier: GPL-2.0-or-later
// Zentor as a Windows user meets it once installed, under Wine, with the system code page
// the test was started with (Wine takes it from the Unix locale). In a folder named in
// Japanese, the installed zentor-cli.exe lists files named in any language, with its output
// on a pipe as a script reads it; a .vrl opened through the installer's association (named
// in other letter cases) starts the installed window in its folder with that file chosen;
// an update from the command prompt refuses a log-off while it runs.

#include <windows.h>
// after windows.h, which they build on
#include <process.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/utf8_path.h"
#include "platform/windows/wide_text.h"
#include "ui/control_ids.h"

namespace zentor {
namespace {

namespace fs = std::filesystem;
using platform::PathOfUtf8;
using platform::windows::Utf8;

std::wstring Quoted(const std::wstring& text) {
  return L"\"" + text + L"\"";
}

// Where the installer puts the programs (scripts/check-windows-installer checks the rest of
// what it installs, upgrades and removes).
const fs::path kInstalled = L"C:\\Program Files\\Zentor";
const std::wstring kCli = kInstalled / L"zentor-cli.exe", kWindow = kInstalled / L"zentor.exe";

int Msiexec(const wchar_t* action, const char* package) {
  return static_cast<int>(_wspawnlp(_P_WAIT, L"msiexec", L"msiexec", action,
                                    Quoted(fs::path("Z:" + std::string(package))).c_str(),
                                    L"/qn", nullptr));
}

// The installed zentor-cli.exe in the current folder, its output read from a pipe: the exit
// status and the bytes.
std::pair<int, std::string> Cli(const std::wstring& arguments) {
  FILE* pipe = _wpopen((Quoted(kCli) + L" " + arguments).c_str(), L"rb");
  std::string out;
  for (int c; pipe && (c = std::fgetc(pipe)) != EOF;)
    out += static_cast<char>(c);
  return {pipe ? _pclose(pipe) : -1, out};
}

std::string TextOf(HWND dialog, int control) {
  wchar_t text[256] = {};
  GetDlgItemTextW(dialog, control, text, 256);
  return Utf8(text);
}

// Opens FILE as Explorer does: a program with PARAMETERS, or a document with the program
// its type is registered to.
HANDLE Open(const std::wstring& file, const std::wstring& parameters = {}) {
  SHELLEXECUTEINFOW open = {};
  open.cbSize = sizeof open;
  open.fMask = SEE_MASK_NOCLOSEPROCESS;
  open.lpFile = file.c_str();
  open.lpParameters = parameters.c_str();
  open.nShow = SW_SHOWNORMAL;
  ShellExecuteExW(&open);
  return open.hProcess;
}

// The first top-level window of the class that the process shows, found as an accessibility
// tool would while the process runs, for up to half a minute.
HWND WindowOf(HANDLE process, const wchar_t* windowClass) {
  for (int tries = 0; tries < 3000 && WaitForSingleObject(process, 10) == WAIT_TIMEOUT; ++tries) {
    for (HWND found = nullptr; (found = FindWindowExW(nullptr, found, windowClass, nullptr));) {
      DWORD owner = 0;
      GetWindowThreadProcessId(found, &owner);
      if (owner == GetProcessId(process) && IsWindowVisible(found)) return found;
    }
  }
  return nullptr;
}

// The exit status; a process whose window never came is ended first, so that nothing is
// left holding the test's output.
DWORD ExitOf(HANDLE process, HWND window) {
  if (!window) TerminateProcess(process, 255);
  DWORD status = WaitForSingleObject(process, 60000);
  GetExitCodeProcess(process, &status);
  return status;
}

TEST(WindowsUser, WorksInAnyLanguageOpensFromTheFileAndRefusesALogOffWhileUpdating) {
  const char* codePage = std::getenv("ZENTOR_CODE_PAGE");  // else the test would show nothing
  ASSERT_EQ(std::to_string(GetACP()), codePage ? codePage : "");
  ASSERT_EQ(Msiexec(L"/i", ZENTOR_MSI), 0);
  const fs::path top =
      fs::temp_directory_path() / ("zentor-user-" + std::to_string(GetCurrentProcessId()));
  const fs::path folder = top / PathOfUtf8("ファームウェア");
  fs::create_directories(folder);
  fs::current_path(folder);
  ASSERT_EQ(Cli(L"--simulate samples").first, 0);
  fs::rename("kxr42.vrl", PathOfUtf8("ファーム新.vrl"));
  fs::rename("kxr70.vrl", PathOfUtf8("Müller.vrl"));
  fs::remove("kxr60.vrl");
  fs::remove("kxr80.vrl");
  EXPECT_EQ(Cli(L"files"),
            std::make_pair(0, std::string("Müller.vrl\tZT-KXR70 KX4410B KXR70   "
                                          "8.515\r\nファーム新.vrl\tZT-KXR42 KX4410B "
                                          "KXR42   8.515\r\n")));

  // The window, started from elsewhere on a path as a dropped file starts it: one that is
  // not there ends it with status 2 and a box saying so.
  fs::current_path(top);
  const fs::path gone = folder / PathOfUtf8("無い.vrl");
  const HANDLE refused = Open(kWindow, Quoted(gone));
  const HWND box = WindowOf(refused, L"#32770");
  EXPECT_EQ(TextOf(box, 0xFFFF), "no such file or folder: " + platform::Utf8OfPath(gone));
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(ExitOf(refused, box), 2u);
  // A file opened as a double click opens it (in other letter cases): the installed window
  // lists the folder's files by their names, with that one chosen as a user chooses it.
  const HANDLE opened = Open(folder / PathOfUtf8("ファーム新.VRL"));
  const HWND window = WindowOf(opened, L"#32770");
  wchar_t image[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  QueryFullProcessImageNameW(opened, 0, image, &size);
  EXPECT_EQ(fs::path(image), fs::path(kWindow));
  const HWND list = GetDlgItem(window, ui::kSourceFileList);
  const wchar_t* listed[] = {L"Müller.vrl", L"ファーム新.vrl"};  // by their names, in this order
  for (LRESULT i = 0; i < 2; ++i)
    EXPECT_EQ(SendMessageW(list, CB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(listed[i])), i);
  EXPECT_EQ(SendMessageW(list, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(TextOf(window, ui::kFileIdentLabel), "ZT-KXR42 KX4410B KXR42   8.515");
  SendMessageW(GetDlgItem(window, ui::kBackupCheckBox), BM_CLICK, 0, 0);
  EXPECT_EQ(TextOf(window, ui::kBackupNameLabel), "CDRWFW00.VRL");
  PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(ExitOf(opened, window), 0u);

  // An update from a command prompt, with a backup, completes. (Its drives are virtual: the
  // machine is not kept up for them, which windows_platform_tests show for real ones.)
  fs::current_path(folder);
  EXPECT_EQ(_wspawnl(_P_WAIT, kCli.c_str(), Quoted(kCli).c_str(), L"--simulate", L"update",
                     L"--drive", L"cdrom0", L"--backup", L"--file", L"ファーム新.vrl", nullptr),
            0);
  EXPECT_EQ(fs::file_size("CDRWFW00.VRL"), 1048576u);
  fs::current_path(top.parent_path());
  fs::remove_all(top);

  EXPECT_EQ(Msiexec(L"/x", ZENTOR_MSI), 0);
}

}  // namespace
}  // namespace zentor
