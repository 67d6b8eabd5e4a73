// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/linux/linux_program_file.h"

#include <filesystem>
#include <system_error>

#include "platform/linux/elf_section.h"

namespace zentor::platform::linux_os {

std::string LinuxProgramFile::ProgramFilePath() {
  std::error_code error;
  const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : path.string();
}

std::vector<std::uint8_t> LinuxProgramFile::ReadVersionInfo(const std::string& path) {
  return ReadElfSection(path, kVersionSectionName).value_or(std::vector<std::uint8_t>{});
}

}  // namespace zentor::platform::linux_os
