// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace zentor::ui {

// The program's name as its message boxes show it: the program file's name without its
// directory and extension; "zentor" when the file is unknown.
std::string ApplicationNameOf(std::string_view programFilePath);

}  // namespace zentor::ui
