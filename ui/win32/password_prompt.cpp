// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/win32/password_prompt.h"

#include <vector>

#include "platform/windows/wide_text.h"
#include "ui/control_ids.h"
#include "ui/win32/template_in_memory.h"

namespace zentor::ui::win32 {

using platform::windows::Utf8;
using platform::windows::Wide;
namespace {

struct Prompt {
  int maxLength;
  PasswordAnswer answer;
};

INT_PTR CALLBACK PromptProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* prompt = reinterpret_cast<Prompt*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrW(dialog, GWLP_USERDATA, lParam);
      HWND edit = GetDlgItem(dialog, kPasswordEdit);
      SendMessageW(edit, EM_LIMITTEXT, reinterpret_cast<Prompt*>(lParam)->maxLength, 0);
      SetFocus(edit);
      return FALSE;  // the focus is set
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {  // Enter in the edit
        HWND edit = GetDlgItem(dialog, kPasswordEdit);
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
        prompt->answer = {true, Utf8(text)};
        EndDialog(dialog, IDOK);
      } else if (LOWORD(wParam) == IDCANCEL) {  // Esc
        EndDialog(dialog, IDCANCEL);
      }
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

PasswordAnswer RunPasswordPrompt(HWND owner, resources::TemplateLanguage language, int maxLength) {
  const std::vector<std::uint8_t> bytes =
      TemplateInMemory(resources::PasswordDialogTemplate(), language);
  Prompt prompt{maxLength, {}};
  DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                          reinterpret_cast<const DLGTEMPLATE*>(bytes.data()), owner,
                          PromptProcedure, reinterpret_cast<LPARAM>(&prompt));
  return prompt.answer;
}

}  // namespace zentor::ui::win32
