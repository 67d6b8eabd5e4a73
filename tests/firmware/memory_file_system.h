// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/name_case.h"

namespace zentor::test_support {

// Files held in memory, with an open refused with a given error number on demand. Lists in
// name order, like no real directory does, so tests see that the list sorts by itself.
class MemoryFileSystem : public platform::FileSystem {
 public:
  std::map<std::string, std::vector<std::uint8_t>> files;
  // CreateNewFile fails with this error number for these names, leaving them untouched.
  std::map<std::string, int> writeErrors;

  void Put(const std::string& name, std::vector<std::uint8_t> bytes) {
    files[name] = std::move(bytes);
    changed[name] = ++changes;
  }

  // The program asks for "*" and an extension only.
  std::vector<std::string> ListFiles(std::string_view pattern) override {
    std::vector<std::string> names;
    const std::string_view suffix = pattern.substr(1);
    for (const auto& [name, bytes] : files) {
      if (name.size() >= suffix.size() &&
          platform::EqualIgnoringCase(std::string_view(name).substr(name.size() - suffix.size()),
                                      suffix)) {
        names.push_back(name);
      }
    }
    return names;
  }

  platform::OpenResult OpenForReading(const std::string& name) override {
    const auto found = files.find(name);
    if (found == files.end()) return {nullptr, ENOENT, platform::kFileNotFound};
    return {std::make_unique<File>(found->second), 0};
  }

  platform::NewFile CreateNewFile(const std::string& name,
                                  std::span<const std::uint8_t> bytes) override {
    if (const auto error = writeErrors.find(name); error != writeErrors.end())
      return {error->second, false};
    if (files.contains(name)) return {EEXIST, false};
    Put(name, {bytes.begin(), bytes.end()});
    return {0, true};
  }

  // Every Put is a change of its own, as a new modification time would be.
  std::optional<platform::FileStamp> Stamp(const std::string& name) override {
    const auto found = files.find(name);
    if (found == files.end()) return std::nullopt;
    return platform::FileStamp{found->second.size(), changed[name]};
  }
  std::map<std::string, std::int64_t> changed;
  std::int64_t changes = 0;

 private:
  class File : public platform::File {
   public:
    explicit File(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
    std::int64_t Read(std::span<std::uint8_t> into) override {
      const std::size_t count = std::min(into.size(), bytes_.size() - at_);
      std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(at_), count, into.begin());
      at_ += count;
      return static_cast<std::int64_t>(count);
    }
    std::optional<std::uint64_t> Length() override { return bytes_.size(); }
    std::int64_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) override {
      if (offset >= bytes_.size()) return 0;
      const std::size_t count = std::min<std::size_t>(into.size(), bytes_.size() - offset);
      std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), count, into.begin());
      return static_cast<std::int64_t>(count);
    }

   private:
    const std::vector<std::uint8_t>& bytes_;
    std::size_t at_ = 0;
  };
};

}  // namespace zentor::test_support
