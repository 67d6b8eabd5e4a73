// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/linux/syscalls.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <filesystem>

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
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(path, error)) {
      names.push_back(entry.path().filename());
    }
    return names;
  }
};

}  // namespace

Syscalls& KernelSyscalls() {
  static Kernel kernel;
  return kernel;
}

}  // namespace zentor::platform::linux_os
