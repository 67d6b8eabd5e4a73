// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "platform/file_system.h"

namespace zentor::platform::windows {

// The cause a Win32 error of an open stands for.
FileErrorCause CauseOfWin32Error(unsigned long error);

// A FILETIME's count as a stamp: nanoseconds since 1970.
std::int64_t NanosecondsSinceUnixEpoch(std::uint64_t fileTimeTicks);

// Files of one directory through the Win32 file calls, the wide ones, so that names in any
// language work whatever the system's code page: the working directory for the program.
// Windows compares names without regard to case already.
class WindowsFileSystem final : public FileSystem {
 public:
  explicit WindowsFileSystem(std::string directory = ".") : directory_(std::move(directory)) {}

  // Patterns are "*" and a suffix ("*.vrl"); the suffix is matched on the long name alone
  // (FindFirstFile would also match a short 8.3 alias such as ABCDEF~1.VRL for "a.vrlx").
  std::vector<std::string> ListFiles(std::string_view pattern) override;
  OpenResult OpenForReading(const std::string& name) override;
  std::optional<FileStamp> Stamp(const std::string& name) override;
  // Written to a scratch name, flushed to the disk, then moved to the name with
  // MOVEFILE_WRITE_THROUGH, so that the move is on the disk too when it returns.
  NewFile CreateNewFile(const std::string& name, std::span<const std::uint8_t> bytes) override;

 private:
  // Names and the directory are UTF-8 inside the program; Windows takes them as UTF-16.
  std::wstring PathOf(const std::string& name) const;

  std::string directory_;
};

}  // namespace zentor::platform::windows
