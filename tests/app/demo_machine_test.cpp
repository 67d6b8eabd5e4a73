#include "app/demo_machine.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "tests/firmware/memory_file_system.h"

namespace zentor::app {
namespace {

TEST(DemoMachine, SampleFilesNeverReplaceWhatIsThere) {
  DemoMachine machine;
  test_support::MemoryFileSystem files;
  files.Put("kxr60.vrl", {1, 2, 3});
  files.openErrors["kxr70.vrl"] = EACCES;

  const std::vector<std::string> written = WriteSampleFiles(machine.drives(), files);

  EXPECT_EQ(written, (std::vector<std::string>{"kxr42.vrl", "kxr80.vrl"}));
  EXPECT_EQ(files.files["kxr60.vrl"], (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(files.files.count("kxr70.vrl"), 0u);
  // The stored forms: the additive family keeps the image's size, the packed ones shrink.
  EXPECT_EQ(files.files["kxr42.vrl"].size(), 1048576u);
  EXPECT_LT(files.files["kxr80.vrl"].size(), 1048576u);
  EXPECT_TRUE(WriteSampleFiles(machine.drives(), files).empty());
}

}  // namespace
}  // namespace zentor::app
