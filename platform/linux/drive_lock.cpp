#include "platform/linux/drive_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/linux/device_path.h"

namespace zentor::platform::linux_os {
namespace {

std::string FirstLineOf(const std::filesystem::path& path) {
  std::ifstream file(path);
  std::string line;
  std::getline(file, line);
  return line;
}

// A block node under the device folder ("block/srN", with its "major:minor" in "dev")
// that appears as the source of a mount; the kernel keeps the mounts of this process's
// namespace in /proc/self/mountinfo, the device number in the third field.
std::optional<std::string> MountedBlockNode(const std::string& folder) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder + "/block", error)) {
    const std::string number = FirstLineOf(entry.path() / "dev");
    if (number.empty()) continue;
    std::ifstream mounts("/proc/self/mountinfo");
    for (std::string line; std::getline(mounts, line);) {
      std::istringstream fields(line);
      std::string id, parent, device;
      if (fields >> id >> parent >> device && device == number) {
        return "/dev/" + entry.path().filename().string();
      }
    }
  }
  return std::nullopt;
}

}  // namespace

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
    return;
  }
  mountedNode_ = MountedBlockNode(*folder);
}

DriveLock::~DriveLock() {
  if (fd_ >= 0) ::close(fd_);
}

int DriveLock::Release() {
  const int fd = fd_;
  fd_ = -1;
  return fd;
}

}  // namespace zentor::platform::linux_os
