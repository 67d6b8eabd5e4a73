// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>

#include "platform/file_system.h"

namespace zentor::platform::linux_os {

// Files of one directory through POSIX calls: the working directory for the program, a
// scratch directory for tests.
class PosixFileSystem final : public FileSystem {
 public:
  explicit PosixFileSystem(std::string directory = ".") : directory_(std::move(directory)) {}

  std::vector<std::string> ListFiles(std::string_view pattern) override;
  OpenResult OpenForReading(const std::string& name) override;
  std::optional<FileStamp> Stamp(const std::string& name) override;
  NewFile CreateNewFile(const std::string& name, std::span<const std::uint8_t> bytes) override;

 private:
  std::string PathOf(const std::string& name) const { return directory_ + "/" + name; }
  static int MoveWithoutReplacing(const std::string& from, const std::string& to);
  // 0 once the directory's entries are on the disk, or the system's error number.
  int SyncFolder();

  std::string directory_;
};

}  // namespace zentor::platform::linux_os
