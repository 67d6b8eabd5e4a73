// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <vector>

#include "resources/dialog_template.h"

namespace zentor::ui::win32 {

// A dialog template as Windows reads it from memory (DLGTEMPLATE, then one DLGITEMTEMPLATE
// per control, each on a DWORD boundary), made from the program's template records: every
// control with its id, class, styles, place and size in dialog units, in the template's
// order, and the variant's font. The dialog itself starts hidden.
std::vector<std::uint8_t> TemplateInMemory(const resources::DialogTemplate& dialog,
                                           resources::TemplateLanguage language);

}  // namespace zentor::ui::win32
