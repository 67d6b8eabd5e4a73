#pragma once

#include <optional>
#include <string>

namespace zentor::platform::linux_os {

// The lock every copy of the program takes on a drive before updating it: flock(2) on the
// drive's SCSI device folder in sysfs. Every node of one drive (/dev/srN, /dev/sgN, and so
// every label the program lists it under) leads to that one folder, so two updates of the
// same drive meet at one lock whichever nodes they use; the kernel drops it with the last
// descriptor, also when the process dies. Nothing reaches the drive.
class DriveLock {
 public:
  // Locks the drive that the node belongs to, without waiting.
  explicit DriveLock(const std::string& node);
  ~DriveLock();
  DriveLock(const DriveLock&) = delete;
  DriveLock& operator=(const DriveLock&) = delete;

  // Another process holds the lock: an update of this drive is under way.
  bool heldElsewhere() const { return heldElsewhere_; }
  // The drive's block node when a file system on its disc is mounted (in this process's
  // view of the mounts).
  const std::optional<std::string>& mountedNode() const { return mountedNode_; }
  // Hands the locked descriptor over (-1 where sysfs had no folder to lock); the caller
  // closes it when the update ends, and with it the lock.
  int Release();

 private:
  int fd_ = -1;
  bool heldElsewhere_ = false;
  std::optional<std::string> mountedNode_;
};

}  // namespace zentor::platform::linux_os
