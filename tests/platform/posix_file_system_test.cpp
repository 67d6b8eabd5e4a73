#include "platform/linux/posix_file_system.h"
#include "tests/temp_directory.h"

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
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(directory_ / name, std::ios::binary) << bytes;
  }
  std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
  }

  test_support::TempDirectory temp_{"zentor-files"};
  const fs::path& directory_ = temp_.path();
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

std::string Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_F(PosixFileSystemTest, ReplacesAFileWholeOrLeavesTheNameAsItWas) {
  PosixFileSystem files(directory_.string());
  const std::vector<std::uint8_t> bytes = {'n', 'e', 'w', 0, 0xFF};
  Write("CDRWFW00.VRL", "an older file, longer than the new one");
  ASSERT_EQ(files.ReplaceFile("CDRWFW00.VRL", bytes), 0);
  EXPECT_EQ(Contents(directory_ / "CDRWFW00.VRL"), std::string("new\0\xFF", 5));

  // A name that cannot take a file: refused, and no scratch file stays behind.
  fs::create_directory(directory_ / "CDRWFW01.VRL");
  EXPECT_NE(files.ReplaceFile("CDRWFW01.VRL", bytes), 0);
  EXPECT_TRUE(fs::is_directory(directory_ / "CDRWFW01.VRL"));
  for (const char* bad : {"", "../escape.VRL"})
    EXPECT_EQ(files.ReplaceFile(bad, bytes), EINVAL);
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(directory_)) {
    left.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(Sorted(left), (std::vector<std::string>{"CDRWFW00.VRL", "CDRWFW01.VRL"}));
}

}  // namespace
}  // namespace zentor::platform::linux_os
