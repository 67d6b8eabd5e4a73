// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>

#include "firmware/file_type_recognition.h"
#include "platform/file_system.h"

namespace zentor::firmware {

// What a firmware file in the list turns out to be when it is selected.
enum class SourceCheck { CannotOpen, NoRow, Matched };

struct SourceFileCheck {
  SourceCheck outcome = SourceCheck::NoRow;
  FileRecognition recognition{};  // valid when Matched
};

// Reads the file (never more than one byte past the image size, which already makes it
// too long) and recognises its type. A file that opens but cannot be read matches no row.
SourceFileCheck CheckSourceFile(platform::FileSystem& files, const std::string& name);

}  // namespace zentor::firmware
