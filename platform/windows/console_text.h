// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdio>
#include <string_view>

namespace zentor::platform::windows {

// Writes the program's UTF-8 text to a C stream. A console shows bytes in its own code page,
// so there the text goes out as UTF-16 through WriteConsoleW; a pipe or a file gets the
// UTF-8 bytes themselves, whatever the system's code page, so that a script reads one
// encoding everywhere.
void WriteText(std::FILE* stream, std::string_view text);

// Has std::cout and std::cerr write through WriteText where they reach a console; where
// they reach a pipe or a file they already write the bytes as they are.
void WriteStandardStreamsAsText();

}  // namespace zentor::platform::windows
