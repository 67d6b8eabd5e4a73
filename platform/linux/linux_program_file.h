// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "platform/program_file.h"

namespace zentor::platform::linux_os {

// The running program is /proc/self/exe; its version information is the ELF section the
// program was linked with.
class LinuxProgramFile final : public ProgramFile {
 public:
  std::string ProgramFilePath() override;
  std::vector<std::uint8_t> ReadVersionInfo(const std::string& path) override;
};

}  // namespace zentor::platform::linux_os
