// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <windows.h>

#include "resources/dialog_template.h"
#include "ui/dialog_view.h"

namespace zentor::ui::win32 {

// The password dialog (template 134), modal over `owner`: one masked edit holding at most
// maxLength characters, which starts empty and has the focus. Enter accepts the typed text,
// Esc or the close box cancels it.
PasswordAnswer RunPasswordPrompt(HWND owner, resources::TemplateLanguage language, int maxLength);

}  // namespace zentor::ui::win32
