#pragma once

namespace zentor::platform::linux_os {

// The three system calls the device back end makes. Tests put a recording fake here, since
// no machine we test on has an optical drive. A failed call returns -1 and leaves the
// error in errno, as the kernel's do.
class Syscalls {
 public:
  virtual ~Syscalls() = default;
  virtual int Open(const char* path, int flags) = 0;
  virtual int Ioctl(int fd, unsigned long request, void* argument) = 0;
  virtual int Close(int fd) = 0;
};

// The real calls of the running kernel.
Syscalls& KernelSyscalls();

}  // namespace zentor::platform::linux_os
