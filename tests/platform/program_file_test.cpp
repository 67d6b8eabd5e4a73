#include <elf.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/linux/elf_section.h"
#include "platform/linux/linux_program_file.h"
#include "resources/version_info.h"

namespace zentor::platform::linux_os {
namespace {

namespace fs = std::filesystem;

std::vector<char> ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// This test program is linked with the program's version resource, as the programs are.
TEST(ProgramFile, ReadsTheVersionBackFromTheRunningProgramFile) {
  LinuxProgramFile program;
  const std::string path = program.ProgramFilePath();
  EXPECT_EQ(fs::path(path).filename(), "platform_tests");
  const std::vector<std::uint8_t> info = program.ReadVersionInfo(path);
  EXPECT_EQ(resources::QueryVersionValue(info, resources::kProductVersionKey), "8.515");
}

TEST(ProgramFile, AFileWithoutTheSectionHasNoVersionInformation) {
  LinuxProgramFile program;
  EXPECT_TRUE(program.ReadVersionInfo(ZENTOR_TEST_BROKEN_ASPI_LIBRARY).empty());
  EXPECT_TRUE(program.ReadVersionInfo("/nonexistent/zentor").empty());
}

// Damaged program files are read no further than they reach.
TEST(ProgramFile, DamagedFilesGiveNothing) {
  const std::vector<char> whole = ReadAll("/proc/self/exe");
  ASSERT_GT(whole.size(), sizeof(Elf64_Ehdr));
  Elf64_Ehdr header;
  std::memcpy(&header, whole.data(), sizeof header);

  struct Case {
    const char* what;
    std::vector<char> bytes;
  };
  std::vector<Case> cases;
  cases.push_back({"empty", {}});
  cases.push_back({"cut in the header", {whole.begin(), whole.begin() + 30}});
  cases.push_back({"cut before the section table",
                   {whole.begin(), whole.begin() + static_cast<long>(header.e_shoff)}});
  std::vector<char> farTable = whole;
  const std::uint64_t farOffset = ~std::uint64_t{0} - 16;
  std::memcpy(farTable.data() + offsetof(Elf64_Ehdr, e_shoff), &farOffset, sizeof farOffset);
  cases.push_back({"section table far past the end", farTable});
  std::vector<char> badNames = whole;
  const std::uint16_t noSuchIndex = header.e_shnum;
  std::memcpy(badNames.data() + offsetof(Elf64_Ehdr, e_shstrndx), &noSuchIndex, sizeof noSuchIndex);
  cases.push_back({"name table index out of range", badNames});
  std::vector<char> notElf = whole;
  notElf[1] = 'X';
  cases.push_back({"not ELF", notElf});

  const fs::path scratch = fs::temp_directory_path() / ("zentor-elf-" + std::to_string(::getpid()));
  for (const Case& c : cases) {
    std::ofstream(scratch, std::ios::binary)
        .write(c.bytes.data(), static_cast<long>(c.bytes.size()));
    EXPECT_EQ(ReadElfSection(scratch.string(), kVersionSectionName), std::nullopt) << c.what;
  }
  // Whole, the same bytes do hold it.
  std::ofstream(scratch, std::ios::binary).write(whole.data(), static_cast<long>(whole.size()));
  EXPECT_NE(ReadElfSection(scratch.string(), kVersionSectionName), std::nullopt);
  EXPECT_EQ(ReadElfSection(scratch.string(), kVersionSectionName, 8), std::nullopt) << "too large";
  fs::remove(scratch);
}

}  // namespace
}  // namespace zentor::platform::linux_os
