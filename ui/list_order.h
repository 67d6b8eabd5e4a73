// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string_view>

namespace zentor::ui {

// The order of a sorted drop-down list: alphabetical without regard to (ASCII) case, so
// "CDRWFW00.VRL" sits among the lower-case names where a user looks for it.
bool ListOrderLess(std::string_view left, std::string_view right);

}  // namespace zentor::ui
