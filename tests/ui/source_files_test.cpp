// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include "firmware/sample_firmware.h"
#include "tests/ui/dialog_fixture.h"

namespace zentor::ui {
namespace {

constexpr int kFamily0 = 0, kFamily6 = 15, kFamily7 = 25;

std::vector<std::uint8_t> StoredFile(int row) {
  return *firmware::SampleFileBytes(row, firmware::MakeSampleImage(row, 9));
}

struct SourceFixture : DialogFixture {
  SourceFixture() {
    files.Put("k7.bin", firmware::MakeSampleImage(kFamily7, 9));
    files.Put("K6.VRL", StoredFile(kFamily6));
    files.Put("a-k0.bin", firmware::MakeSampleImage(kFamily0, 9));
    files.Put("junk.vrl", std::vector<std::uint8_t>(100, 0x41));
    files.Put("readme.txt", {1});
    dialog.SetEnglishTexts();
    ShowAt(3);
    dialog.FillSourceFileList();
  }
  void Select(const std::string& name) {
    const auto& entries = view.Control(1001).entries;
    const auto at = std::find(entries.begin(), entries.end(), name);
    ASSERT_NE(at, entries.end()) << name;
    ASSERT_TRUE(view.SelectEntry(1001, static_cast<int>(at - entries.begin())));
  }
};

TEST(SourceFiles, AFileThatMatchesNoRowForgetsTheEarlierFileAndItsBackup) {
  SourceFixture f;
  f.Select("K6.VRL");
  f.view.Click(1004);
  ASSERT_EQ(f.view.Text(1019), "CDRWFW00.VRL");
  f.Select("junk.vrl");
  EXPECT_EQ(f.dialog.fileTypeIndex, -1);
  EXPECT_EQ(f.dialog.fileFamily, -1);
  EXPECT_EQ(f.dialog.fileShortId[0], '\0');
  EXPECT_EQ(f.dialog.fileLongId[0], '\0');
  EXPECT_EQ(f.dialog.fileTypeCode[0], '\0');
  EXPECT_EQ(f.view.Text(1018), "");
  EXPECT_EQ(f.view.Check(1004), 0);
  EXPECT_EQ(f.view.Text(1019), "");
}

// The backup's name follows the box and the names taken, in any letter case. (All ten taken,
// and the plain families' .BIN, show in whole updates.)
TEST(BackupNaming, FollowsTheBoxAndTheNamesTaken) {
  SourceFixture f;
  f.files.Put("CDRWFW00.VRL", {1});
  f.files.Put("cdrwfw01.vrl", {1});  // a name taken in any letter case
  f.Select("K6.VRL");
  EXPECT_EQ(f.view.Text(1019), "");
  f.view.Click(1004);
  EXPECT_EQ(f.view.Text(1019), "CDRWFW02.VRL");
  f.view.Click(1004);
  EXPECT_EQ(f.view.Text(1019), "");
  f.files.Put("CDRWFW02.VRL", {1});
  f.view.Click(1004);
  EXPECT_EQ(f.view.Text(1019), "CDRWFW03.VRL");
}

}  // namespace
}  // namespace zentor::ui
