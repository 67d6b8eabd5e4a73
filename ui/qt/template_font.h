// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QFont>
#include <QLocale>

#include "resources/dialog_template.h"

namespace zentor::ui::qt {

// The template variant a user gets: the Japanese one in a Japanese locale.
resources::TemplateLanguage TemplateLanguageOf(const QLocale& locale);

// The dialog font of a template variant. The fonts the templates name rarely exist on a
// Linux machine: fontconfig picks a metric-compatible face for Arial, and the Japanese
// gothic falls back to the proportional gothics Linux distributions ship.
QFont TemplateFont(resources::TemplateLanguage language, int pointSize);

}  // namespace zentor::ui::qt
