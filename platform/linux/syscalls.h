// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <poll.h>
#include <sys/types.h>

#include <string>
#include <vector>

namespace zentor::platform::linux_os {

// The system calls the device back end makes. Tests put a recording fake here, since no
// machine we test on has an optical drive. A failed call returns -1 and leaves the error in
// errno, as the kernel's do.
class Syscalls {
 public:
  virtual ~Syscalls() = default;
  virtual int Open(const char* path, int flags) = 0;
  virtual int Ioctl(int fd, unsigned long request, void* argument) = 0;
  virtual ssize_t Write(int fd, const void* buffer, std::size_t length) = 0;
  virtual ssize_t Read(int fd, void* buffer, std::size_t length) = 0;
  virtual int Poll(pollfd* fds, nfds_t count, int timeoutMs) = 0;
  virtual int Close(int fd) = 0;
  // The names in a directory (without "." and ".."); empty when it cannot be read.
  virtual std::vector<std::string> ListDirectory(const std::string& path) = 0;
};

// The real calls of the running kernel.
Syscalls& KernelSyscalls();

}  // namespace zentor::platform::linux_os
