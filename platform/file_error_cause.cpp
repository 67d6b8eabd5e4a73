// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/file_error_cause.h"

#include <cerrno>

namespace zentor::platform {
namespace {

struct ErrnoCause {
  int error;
  FileErrorCause cause;
};

constexpr ErrnoCause kErrnoCauses[] = {
    {ENOENT, kFileNotFound},      // no such file
    {EACCES, kAccessDenied},      // permission bits or a directory on the way
    {EPERM, kAccessDenied},       // refused by policy (sealed, immutable, ...)
    {EMFILE, kTooManyOpenFiles},  // this process is out of descriptors
    {ENFILE, kTooManyOpenFiles},  // the system is
    {ENAMETOOLONG, kBadPath},     // the name cannot be a path at all
    {ENOTDIR, kBadPath},          // a component of the path is no directory
    {EIO, kHardIo},               // the medium failed
    {ENOSPC, kDiskFull},          // no room (creating)
    {EBADF, kInvalidFile},        // a handle that is no (longer an) open file
    {ESPIPE, kBadSeek},           // no position to seek to
};

}  // namespace

FileErrorCause CauseOfErrno(int error) {
  if (error == 0) return kNoError;
  for (const ErrnoCause& row : kErrnoCauses) {
    if (row.error == error) return row.cause;
  }
  return kUnspecifiedError;
}

}  // namespace zentor::platform
