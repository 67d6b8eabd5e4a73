// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>

#include "platform/device_io.h"
#include "resources/dialog_template.h"

namespace zentor::ui {

// The message the window shows when it lists no drive because the system refused this
// user a drive: what was refused and what would allow it, in the language of the dialog's
// template variant (Japanese on a Japanese system). Lines end with "\n". Empty when nothing
// was refused.
std::string PermissionNoticeText(const platform::PermissionRefusals& refusals,
                                 resources::TemplateLanguage language);

}  // namespace zentor::ui
