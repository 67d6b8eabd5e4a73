// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zentor::platform {

// The section of the program file that carries its version information, the way a resource
// section would on the platform the program comes from. Only the file on disk is read, so a
// program file without it shows no version.
inline constexpr const char* kVersionSectionName = ".zentor.version";

// The running program's own file.
class ProgramFile {
 public:
  virtual ~ProgramFile() = default;
  // Full path of the program file; empty when it cannot be found out.
  virtual std::string ProgramFilePath() = 0;
  // The version information the file at `path` carries; empty when there is none or the
  // file cannot be read.
  virtual std::vector<std::uint8_t> ReadVersionInfo(const std::string& path) = 0;
};

}  // namespace zentor::platform
