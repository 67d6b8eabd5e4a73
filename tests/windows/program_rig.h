// SPDX-License-Identifier: GPL-2.0-or-later
// What the Windows program tests share: the programs started as a user starts them, and
// their dialogs found and read as an accessibility tool would.
#pragma once

#include <windows.h>

#include <string>

#include "platform/windows/wide_text.h"

namespace zentor {

inline std::wstring Quoted(const std::wstring& text) {
  return L"\"" + text + L"\"";
}

inline std::string TextOf(HWND dialog, int control) {
  wchar_t text[256] = {};
  GetDlgItemTextW(dialog, control, text, 256);
  return platform::windows::Utf8(text);
}

// A started program and the first dialog it shows (its window, or a message box); one
// whose dialog never came is ended, so that nothing is left holding the test's output.
struct Window {
  HANDLE process = nullptr;
  HWND dialog = nullptr;

  explicit Window(HANDLE started) : process(started) {
    const DWORD id = GetProcessId(process);
    for (int tries = 0; process && tries < 600 && !dialog; ++tries) {
      Sleep(50);
      for (HWND found = nullptr; (found = FindWindowExW(nullptr, found, L"#32770", nullptr));) {
        DWORD owner = 0;
        GetWindowThreadProcessId(found, &owner);
        if (owner == id && IsWindowVisible(found)) dialog = found;
      }
    }
  }
  DWORD Exit() {
    if (!dialog) TerminateProcess(process, 255);
    DWORD status = 255;
    WaitForSingleObject(process, 60000);
    GetExitCodeProcess(process, &status);
    CloseHandle(process);
    return status;
  }
};

}  // namespace zentor
