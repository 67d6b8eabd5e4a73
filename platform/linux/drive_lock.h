// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>

namespace zentor::platform::linux_os {

// The lock every copy of the program takes on a drive before updating it: flock(2) on the
// drive's SCSI device folder in sysfs. Every node of one drive (/dev/srN, /dev/sgN, and so
// every label the program lists it under) leads to that one folder, so two updates of the
// same drive meet at one lock whichever nodes they use; the kernel drops it with the
// descriptor, also when the process dies. Nothing reaches the drive.
class DriveLock {
 public:
  // Locks the drive that the node belongs to, without waiting; held until destroyed.
  explicit DriveLock(const std::string& node);
  ~DriveLock();
  DriveLock(const DriveLock&) = delete;
  DriveLock& operator=(const DriveLock&) = delete;

  // Another process holds the lock: an update of this drive is under way. (Where sysfs
  // has no folder for the node, nothing is locked and nothing is held elsewhere.)
  bool heldElsewhere() const { return heldElsewhere_; }

 private:
  int fd_ = -1;
  bool heldElsewhere_ = false;
};

}  // namespace zentor::platform::linux_os
