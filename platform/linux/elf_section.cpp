// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/linux/elf_section.h"

#include <elf.h>

#include <cstring>
#include <fstream>

namespace zentor::platform::linux_os {
namespace {

class FileReader {
 public:
  explicit FileReader(const std::string& path) : file_(path, std::ios::binary) {
    if (file_) {
      file_.seekg(0, std::ios::end);
      size_ = static_cast<std::uint64_t>(file_.tellg());
    }
  }

  // Reads `length` bytes at `offset`, only when they lie wholly inside the file.
  bool Read(std::uint64_t offset, void* into, std::uint64_t length) {
    if (!file_ || offset > size_ || length > size_ - offset) return false;
    file_.seekg(static_cast<std::streamoff>(offset));
    file_.read(static_cast<char*>(into), static_cast<std::streamsize>(length));
    return static_cast<std::uint64_t>(file_.gcount()) == length;
  }

 private:
  std::ifstream file_;
  std::uint64_t size_ = 0;
};

bool IsLittleEndianElf64(const Elf64_Ehdr& header) {
  return std::memcmp(header.e_ident, ELFMAG, SELFMAG) == 0 &&
         header.e_ident[EI_CLASS] == ELFCLASS64 && header.e_ident[EI_DATA] == ELFDATA2LSB &&
         header.e_shentsize == sizeof(Elf64_Shdr);
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadElfSection(const std::string& path,
                                                        std::string_view name,
                                                        std::size_t maxSize) {
  FileReader file(path);
  Elf64_Ehdr header;
  if (!file.Read(0, &header, sizeof header) || !IsLittleEndianElf64(header)) return std::nullopt;
  if (header.e_shstrndx == SHN_UNDEF || header.e_shstrndx >= header.e_shnum) return std::nullopt;

  auto sectionHeader = [&](std::uint64_t index) -> std::optional<Elf64_Shdr> {
    Elf64_Shdr section;
    if (!file.Read(header.e_shoff + index * sizeof(Elf64_Shdr), &section, sizeof section))
      return std::nullopt;
    return section;
  };
  const std::optional<Elf64_Shdr> names = sectionHeader(header.e_shstrndx);
  if (!names) return std::nullopt;

  std::vector<char> wanted(name.size() + 1);
  for (std::uint64_t index = 0; index < header.e_shnum; ++index) {
    const std::optional<Elf64_Shdr> section = sectionHeader(index);
    if (!section) return std::nullopt;
    // The name must match including its terminating NUL, and stand inside the name table.
    if (section->sh_name >= names->sh_size || wanted.size() > names->sh_size - section->sh_name)
      continue;
    if (!file.Read(names->sh_offset + section->sh_name, wanted.data(), wanted.size())) continue;
    if (std::string_view(wanted.data(), name.size()) != name || wanted.back() != '\0') continue;

    if (section->sh_type == SHT_NOBITS || section->sh_size > maxSize) return std::nullopt;
    std::vector<std::uint8_t> contents(section->sh_size);
    if (!file.Read(section->sh_offset, contents.data(), contents.size())) return std::nullopt;
    return contents;
  }
  return std::nullopt;
}

}  // namespace zentor::platform::linux_os
