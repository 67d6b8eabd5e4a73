// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "update/wizard_step.h"

namespace zentor::ui {

// The wizard's steps belong to the update that sets most of them.
using update::Step;
using enum update::Step;

// FlashDialog::UiLanguage: 1 is Japanese, every other value shows English.
inline constexpr int kEnglish = 0;
inline constexpr int kJapanese = 1;

}  // namespace zentor::ui
