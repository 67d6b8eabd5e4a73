// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/list_order.h"

#include "platform/name_case.h"

namespace zentor::ui {

bool ListOrderLess(std::string_view left, std::string_view right) {
  return platform::LessIgnoringCase(left, right);
}

}  // namespace zentor::ui
