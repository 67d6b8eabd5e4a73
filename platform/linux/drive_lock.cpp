// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/linux/drive_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "platform/linux/device_path.h"

namespace zentor::platform::linux_os {

DriveLock::DriveLock(const std::string& node) {
  const auto folder = ScsiDeviceFolderOf(node);
  if (!folder) return;
  fd_ = ::open(folder->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) return;
  int result;
  do {
    result = ::flock(fd_, LOCK_EX | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  if (result != 0) {
    heldElsewhere_ = errno == EWOULDBLOCK;
    ::close(fd_);
    fd_ = -1;
  }
}

DriveLock::~DriveLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace zentor::platform::linux_os
