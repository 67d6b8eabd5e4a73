// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "resources/dialog_template.h"
#include "ui/flash_dialog.h"

namespace zentor::app {

// Once the window stands: why no drive is listed, when the system refused this user a
// drive, in a message box over the window and on the error stream for whoever started the
// window from a terminal or console. Nothing when drives are listed or nothing was refused.
void TellWhyNoDriveIsListed(ui::FlashDialog& dialog, resources::TemplateLanguage language);

}  // namespace zentor::app
