#include "platform/linux/syscalls.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace zentor::platform::linux_os {
namespace {

class Kernel final : public Syscalls {
 public:
  int Open(const char* path, int flags) override { return ::open(path, flags); }
  int Ioctl(int fd, unsigned long request, void* argument) override {
    return ::ioctl(fd, request, argument);
  }
  int Close(int fd) override { return ::close(fd); }
};

}  // namespace

Syscalls& KernelSyscalls() {
  static Kernel kernel;
  return kernel;
}

}  // namespace zentor::platform::linux_os
