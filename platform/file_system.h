// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_error_cause.h"

namespace zentor::platform {

// A file opened by the program; closed when the object goes.
class File {
 public:
  virtual ~File() = default;
  // Reads up to into.size() bytes from the current position: the number read, 0 at the
  // end of the file, -1 on an error.
  virtual std::int64_t Read(std::span<std::uint8_t> into) = 0;
  // The length the file's status reports, or nothing when the query fails.
  virtual std::optional<std::uint64_t> Length() = 0;
  // Reads up to into.size() bytes at an offset, leaving the position alone: the number
  // read, 0 at the end of the file, -1 on an error.
  virtual std::int64_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) = 0;
};

// Reads until `into` is full or the file ends: the number of bytes read, or -1 on an error.
std::int64_t ReadFully(File& file, std::span<std::uint8_t> into);

// An open that failed carries the system's own error number (errno on Linux, GetLastError's
// on Windows), for a person reading a log, and the cause it stands for, for the program.
struct OpenResult {
  std::unique_ptr<File> file;
  int error = 0;
  FileErrorCause cause = kNoError;
};

// What tells one state of a file from another without reading it: its length and the time
// of its last change. Equal stamps mean the file is taken to be unchanged.
struct FileStamp {
  std::uint64_t length = 0;
  std::int64_t modifiedNs = 0;
  bool operator==(const FileStamp&) const = default;
};

// What became of a new file: 0 or the system's error number, and whether the whole file
// stands under its name. It can stand and still have failed, when its folder could not be
// synced: the name may then be lost in a power cut, though the file is complete now.
struct NewFile {
  int error = 0;
  bool stands = false;
};

// The program's files: firmware files and backups, all in one directory (the working
// directory) and addressed by bare names.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Names of the regular files whose names match a shell pattern such as "*.vrl", without
  // regard to case; in no particular order.
  virtual std::vector<std::string> ListFiles(std::string_view pattern) = 0;
  // Opens a regular file for reading. Anything else (a directory, a device, a pipe) is
  // refused: a firmware file is never anything but plain data.
  virtual OpenResult OpenForReading(const std::string& name) = 0;
  // Puts a file of exactly these bytes under a name that no file has, and never replaces
  // one: when a file takes the name first, even in the moment before the new file would,
  // the call fails with EEXIST and that file stays as it is. All or nothing otherwise: when
  // it fails (disk full, no permission), no partial file remains. Success means the name
  // and its bytes are on the disk; when only the folder's sync fails, the call fails but
  // the whole file stands under the name, and says so.
  virtual NewFile CreateNewFile(const std::string& name, std::span<const std::uint8_t> bytes) = 0;
  // The stamp of a regular file, or nothing (no such file, or a file system that cannot
  // tell, in which case nothing read from the file is ever reused).
  virtual std::optional<FileStamp> Stamp(const std::string& name) {
    (void)name;
    return std::nullopt;
  }
};

}  // namespace zentor::platform
