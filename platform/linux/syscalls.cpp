#include "platform/linux/syscalls.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <string_view>

namespace zentor::platform::linux_os {
namespace {

class Kernel final : public Syscalls {
 public:
  int Open(const char* path, int flags) override { return ::open(path, flags); }
  int Ioctl(int fd, unsigned long request, void* argument) override {
    return ::ioctl(fd, request, argument);
  }
  ssize_t Write(int fd, const void* buffer, std::size_t length) override {
    return ::write(fd, buffer, length);
  }
  ssize_t Read(int fd, void* buffer, std::size_t length) override {
    return ::read(fd, buffer, length);
  }
  int Poll(pollfd* fds, nfds_t count, int timeoutMs) override {
    return ::poll(fds, count, timeoutMs);
  }
  int Close(int fd) override { return ::close(fd); }
  std::vector<std::string> ListDirectory(const std::string& path) override {
    std::vector<std::string> names;
    DIR* dir = ::opendir(path.c_str());
    if (!dir) return names;
    while (const dirent* entry = ::readdir(dir)) {
      const std::string_view name = entry->d_name;
      if (name != "." && name != "..") names.emplace_back(name);
    }
    ::closedir(dir);
    return names;
  }
};

}  // namespace

Syscalls& KernelSyscalls() {
  static Kernel kernel;
  return kernel;
}

}  // namespace zentor::platform::linux_os
