// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

namespace zentor::platform {

// Why a file could not be opened, as the program's file-error message tells it (0..14).
// Each file system says it from its own errors.
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

// The cause an errno number stands for; anything it does not know is an unspecified error.
FileErrorCause CauseOfErrno(int error);

}  // namespace zentor::platform
