// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QWidget>

#include "resources/dialog_template.h"

namespace zentor::ui::qt {

// The widget that plays a template control: its kind, frame, alignment, focus policy and
// template caption. Placing it and wiring its events is the dialog's business.
QWidget* MakeControlWidget(const resources::ControlTemplate& control, QWidget* parent);

// A multi-line edit's text, with its template's alignment kept for every line.
void SetEditText(QWidget* edit, const QString& text, std::uint32_t style);

}  // namespace zentor::ui::qt
