// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/linux/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>  // renameat2
#include <string>

namespace zentor::platform::linux_os {
namespace {

class PosixFile final : public File {
 public:
  explicit PosixFile(int fd) : fd_(fd) {}
  ~PosixFile() override { ::close(fd_); }
  PosixFile(const PosixFile&) = delete;
  PosixFile& operator=(const PosixFile&) = delete;

  std::int64_t Read(std::span<std::uint8_t> into) override {
    ssize_t count;
    do {
      count = ::read(fd_, into.data(), into.size());
    } while (count < 0 && errno == EINTR);
    return count;
  }

  std::int64_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) override {
    ssize_t count;
    do {
      count = ::pread(fd_, into.data(), into.size(), static_cast<off_t>(offset));
    } while (count < 0 && errno == EINTR);
    return count;
  }

  std::optional<std::uint64_t> Length() override {
    struct stat status {};
    if (::fstat(fd_, &status) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(status.st_size);
  }

 private:
  int fd_;
};

int WriteAll(int fd, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const ssize_t count = ::write(fd, bytes.data(), bytes.size());
    if (count < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes = bytes.subspan(static_cast<std::size_t>(count));
  }
  return 0;
}

}  // namespace

std::vector<std::string> PosixFileSystem::ListFiles(std::string_view pattern) {
  std::vector<std::string> names;
  DIR* directory = ::opendir(directory_.c_str());
  if (directory == nullptr) return names;
  const std::string shellPattern(pattern);
  while (const dirent* entry = ::readdir(directory)) {
    const std::string name = entry->d_name;
    // FNM_PERIOD keeps hidden files out, as a shell's "*.vrl" would.
    if (::fnmatch(shellPattern.c_str(), name.c_str(), FNM_CASEFOLD | FNM_PERIOD) != 0) continue;
    struct stat status {};
    if (::stat(PathOf(name).c_str(), &status) == 0 && S_ISREG(status.st_mode)) {
      names.push_back(name);
    }
  }
  ::closedir(directory);
  return names;
}

std::optional<FileStamp> PosixFileSystem::Stamp(const std::string& name) {
  struct stat status {};
  if (::stat(PathOf(name).c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
  return FileStamp{
      static_cast<std::uint64_t>(status.st_size),
      static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec};
}

OpenResult PosixFileSystem::OpenForReading(const std::string& name) {
  // Non-blocking, so that a pipe with this name cannot hang the dialog before it is refused.
  const int fd = ::open(PathOf(name).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return {nullptr, errno, CauseOfErrno(errno)};
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    const int error = S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
    ::close(fd);
    return {nullptr, error, CauseOfErrno(error)};
  }
  return {std::make_unique<PosixFile>(fd), 0};
}

// The bytes go to a scratch file beside the target (its name this process's own), reach the
// disk, and only then take the name in one step that refuses a name already taken: a crash,
// a full disk or a failed close never leaves a cut-off file under the name, and a file that
// another program (or a second copy of this one) put there meanwhile is never replaced.
// The folder is synced last, so that the name itself survives a power cut: a backup is
// written for the moment a flash goes wrong, and it must be there after the reboot.
NewFile PosixFileSystem::CreateNewFile(const std::string& name,
                                       std::span<const std::uint8_t> bytes) {
  // A bare name of this directory, nothing else.
  if (name.empty() || name.find('/') != std::string::npos) return {EINVAL, false};
  int fd = -1;
  std::string scratch;
  for (int attempt = 0; fd < 0; ++attempt) {
    scratch =
        PathOf("." + name + ".part" + std::to_string(::getpid()) + "-" + std::to_string(attempt));
    fd = ::open(scratch.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0 && (errno != EEXIST || attempt == 100)) return {errno, false};
  }
  int error = WriteAll(fd, bytes);
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0) error = MoveWithoutReplacing(scratch, PathOf(name));
  if (error != 0) {
    ::unlink(scratch.c_str());
    return {error, false};
  }
  return {SyncFolder(), true};
}

// renameat2 with RENAME_NOREPLACE where the file system takes it; where it does not (some
// network and FUSE file systems answer EINVAL), a hard link, which fails on a taken name
// just the same, and the scratch name's removal. 0, or the system's error number.
int PosixFileSystem::MoveWithoutReplacing(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  if (::link(from.c_str(), to.c_str()) != 0) return errno;
  ::unlink(from.c_str());
  return 0;
}

int PosixFileSystem::SyncFolder() {
  const int fd = ::open(directory_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  int error = ::fsync(fd) == 0 ? 0 : errno;
  ::close(fd);
  return error;
}

}  // namespace zentor::platform::linux_os
