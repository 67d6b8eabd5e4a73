// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "platform/file_error_cause.h"

namespace zentor::firmware {

// The causes the message knows: the platform's, by which a file system tells them.
using platform::FileErrorCause;
using enum platform::FileErrorCause;

// The message for a cause with the file's name in it. These texts exist in Japanese only
// and are shown whatever the dialog's language.
std::string FileErrorText(FileErrorCause cause, std::string_view fileName);

}  // namespace zentor::firmware
