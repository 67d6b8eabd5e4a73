// SPDX-License-Identifier: GPL-2.0-or-later
// A user's files named in any language, under Wine with the system code page the test was
// started with (Wine takes it from the Unix locale): zentor-cli.exe lists them and updates
// from one with its output on a pipe, as a script reads it, and zentor.exe handed one's full
// path, as when the file is dropped on it, works in its folder with that file chosen.

#include <process.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/utf8_path.h"
#include "platform/windows/wide_text.h"
#include "tests/windows/program_rig.h"
#include "ui/control_ids.h"

namespace zentor {
namespace {

namespace fs = std::filesystem;
using platform::PathOfUtf8;
using platform::windows::Utf8;
using platform::windows::Wide;

// The programs' Unix paths as Windows sees them under Wine.
const std::wstring kCli = Wide("Z:" ZENTOR_CLI_EXE), kWindow = Wide("Z:" ZENTOR_WINDOW_EXE);

// zentor-cli.exe in the current folder, its output read from a pipe: the exit status and
// the bytes.
std::pair<int, std::string> Cli(const std::wstring& arguments) {
  FILE* pipe = _wpopen((Quoted(kCli) + L" " + arguments).c_str(), L"rb");
  std::string out;
  for (int c; pipe && (c = std::fgetc(pipe)) != EOF;)
    out += static_cast<char>(c);
  return {pipe ? _pclose(pipe) : -1, out};
}

// zentor.exe started on a path, as Explorer starts it for a file dropped on it.
Window StartWindow(const fs::path& path) {
  const intptr_t process = _wspawnl(_P_NOWAIT, kWindow.c_str(), Quoted(kWindow).c_str(),
                                    Quoted(path.wstring()).c_str(), nullptr);
  return Window(process == -1 ? nullptr : reinterpret_cast<HANDLE>(process));
}

TEST(NamesInAnyLanguage, AreListedUpdatedFromAndChosenInTheWindow) {
  const char* codePage = std::getenv("ZENTOR_CODE_PAGE");  // else the test would show nothing
  ASSERT_EQ(std::to_string(GetACP()), codePage ? codePage : "");
  const fs::path top =
      fs::temp_directory_path() / ("zentor-names-" + std::to_string(GetCurrentProcessId()));
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
  const std::string json = Cli(L"--json files").second;
  for (const char* entry :
       {R"({"name":"Müller.vrl","usable":true,"form":"stored","drive":"ZT-KXR70)",
        R"({"name":"ファーム新.vrl","usable":true,"form":"stored","drive":"ZT-KXR42)"})
    EXPECT_NE(json.find(entry), std::string::npos) << json;

  // The window, started elsewhere on a path: one that is not there ends it with status 2
  // and a box saying so; a file, typed in other letter cases, is chosen as listed.
  fs::current_path(top);
  const fs::path gone = folder / PathOfUtf8("無い.vrl");
  Window box = StartWindow(gone);
  EXPECT_EQ(TextOf(box.dialog, 0xFFFF), "no such file or folder: " + platform::Utf8OfPath(gone));
  PostMessageW(box.dialog, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(box.Exit(), 2);
  Window window = StartWindow(folder / PathOfUtf8("ファーム新.VRL"));
  const HWND list = GetDlgItem(window.dialog, ui::kSourceFileList);
  const wchar_t* listed[] = {L"Müller.vrl", L"ファーム新.vrl"};  // by their names, in this order
  for (LRESULT i = 0; i < 2; ++i)
    EXPECT_EQ(SendMessageW(list, CB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(listed[i])), i);
  EXPECT_EQ(SendMessageW(list, CB_GETCURSEL, 0, 0), 1);
  // What the window says of the chosen file follows it, as when a user picks it.
  EXPECT_EQ(TextOf(window.dialog, ui::kFileIdentLabel), "ZT-KXR42 KX4410B KXR42   8.515");
  SendMessageW(GetDlgItem(window.dialog, ui::kBackupCheckBox), BM_CLICK, 0, 0);
  EXPECT_EQ(TextOf(window.dialog, ui::kBackupNameLabel), "CDRWFW00.VRL");
  PostMessageW(window.dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(window.Exit(), 0);

  fs::current_path(folder);
  const auto [updated, out] =
      Cli(L"--simulate update --drive cdrom0 --backup --file ファーム新.vrl");
  EXPECT_EQ(updated, 0);
  EXPECT_NE(out.find(" *** OK ** OK ** OK *** "), std::string::npos) << out;
  EXPECT_EQ(fs::file_size("CDRWFW00.VRL"), 1048576u);
  fs::current_path(top.parent_path());
  fs::remove_all(top);
}

}  // namespace
}  // namespace zentor
