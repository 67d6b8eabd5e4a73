// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>

#include "platform/device_io.h"
#include "resources/dialog_template.h"

namespace zentor::ui {

// The message of an update refused because another program holds the drive: which node,
// whether a disc on it is mounted, and what to do, in the given language. Lines end with
// "\n".
std::string DriveInUseText(const platform::DriveInUse& inUse,
                           resources::TemplateLanguage language);

}  // namespace zentor::ui
