// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace zentor::firmware {

// Causes of a failed open as the file-error message knows them (0..14).
enum FileErrorCause : int {
  kNoError = 0,
  kUnspecifiedError = 1,
  kFileNotFound = 2,
  kBadPath = 3,
  kTooManyOpenFiles = 4,
  kAccessDenied = 5,
  kInvalidFile = 6,
  kRemoveCurrentDirectory = 7,
  kDirectoryFull = 8,
  kBadSeek = 9,
  kHardIo = 10,
  kSharingViolation = 11,
  kLockViolation = 12,
  kDiskFull = 13,
  kEndOfFile = 14,
};

// The cause of a failed open, from the system's error number.
FileErrorCause CauseOfOpenError(int error);

// The message for a cause with the file's name in it. These texts exist in Japanese only
// and are shown whatever the dialog's language.
std::string FileErrorText(FileErrorCause cause, std::string_view fileName);

}  // namespace zentor::firmware
