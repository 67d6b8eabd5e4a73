#include "platform/linux/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

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

  std::optional<std::uint64_t> Length() override {
    struct stat status {};
    if (::fstat(fd_, &status) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(status.st_size);
  }

 private:
  int fd_;
};

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

OpenResult PosixFileSystem::OpenForReading(const std::string& name) {
  // Non-blocking, so that a pipe with this name cannot hang the dialog before it is refused.
  const int fd = ::open(PathOf(name).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return {nullptr, errno};
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    const int error = S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
    ::close(fd);
    return {nullptr, error};
  }
  return {std::make_unique<PosixFile>(fd), 0};
}

}  // namespace zentor::platform::linux_os
