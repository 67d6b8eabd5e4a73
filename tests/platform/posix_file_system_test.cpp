#include "platform/linux/posix_file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>

namespace zentor::platform::linux_os {
namespace {

namespace fs = std::filesystem;

class PosixFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "zentor-files-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    directory_ = pattern;
  }
  void TearDown() override { fs::remove_all(directory_); }

  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(directory_ / name, std::ios::binary) << bytes;
  }
  std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path directory_;
};

TEST_F(PosixFileSystemTest, ListsRegularFilesMatchingWithoutRegardToCase) {
  Write("a.VRL", "1");
  Write("b.vrl", "1");
  Write("c.vrl.txt", "1");
  Write(".hidden.vrl", "1");
  Write("plain.bin", "1");
  fs::create_directory(directory_ / "dir.vrl");
  fs::create_symlink("missing", directory_ / "dangling.vrl");
  fs::create_symlink("plain.bin", directory_ / "link.Bin");
  ASSERT_EQ(::mkfifo((directory_ / "pipe.vrl").c_str(), 0600), 0);

  PosixFileSystem files(directory_.string());
  EXPECT_EQ(Sorted(files.ListFiles("*.vrl")), (std::vector<std::string>{"a.VRL", "b.vrl"}));
  EXPECT_EQ(Sorted(files.ListFiles("*.bin")), (std::vector<std::string>{"link.Bin", "plain.bin"}));
  EXPECT_TRUE(PosixFileSystem((directory_ / "none").string()).ListFiles("*.vrl").empty());
}

TEST_F(PosixFileSystemTest, OpensOnlyRegularFilesAndReportsWhy) {
  Write("data.vrl", std::string("\x00\x01\x02\xFF", 4));
  fs::create_directory(directory_ / "dir.vrl");
  ASSERT_EQ(::mkfifo((directory_ / "pipe.vrl").c_str(), 0600), 0);
  PosixFileSystem files(directory_.string());

  OpenResult opened = files.OpenForReading("data.vrl");
  ASSERT_TRUE(opened.file);
  EXPECT_EQ(opened.file->Length(), 4u);
  std::vector<std::uint8_t> bytes(10);
  EXPECT_EQ(ReadFully(*opened.file, bytes), 4);
  EXPECT_EQ(bytes[3], 0xFF);
  EXPECT_EQ(opened.file->Read(bytes), 0);

  const std::pair<const char*, int> refused[] = {
      {"missing.vrl", ENOENT}, {"dir.vrl", EISDIR}, {"pipe.vrl", EINVAL}, {"data.vrl/x", ENOTDIR}};
  for (const auto& [name, error] : refused) {
    const OpenResult result = files.OpenForReading(name);
    EXPECT_FALSE(result.file) << name;
    EXPECT_EQ(result.error, error) << name;
  }
}

}  // namespace
}  // namespace zentor::platform::linux_os
