#include <gtest/gtest.h>

#include <cerrno>
#include <optional>

#include "firmware/backup_name.h"
#include "firmware/file_error_text.h"
#include "firmware/file_identity.h"
#include "firmware/image_loading.h"
#include "firmware/sample_firmware.h"
#include "firmware/source_file_check.h"
#include "firmware/type_code_table.h"
#include "tests/firmware/memory_file_system.h"

namespace zentor::firmware {
namespace {

constexpr int kFamily0 = 0, kFamily2 = 4, kFamily4 = 5, kFamily5 = 7, kFamily6 = 15, kFamily7 = 25,
              kFamily8 = 35;

enum class Form { Plain, Stored };

ImageBytes FileOf(int row, Form form, std::uint32_t seed = 1) {
  const ImageBytes image = MakeSampleImage(row, seed);
  return form == Form::Plain ? image : *SampleFileBytes(row, image);
}

// Which row a file's bytes give is FileTypeRecognition's table; here, what the file system
// adds: a file is read whole, at most 1 MiB of it, and one that will not open or read says so.
TEST(SourceFileCheck, RecognisesAFileThatReadsAndSaysWhyAnotherDoesNot) {
  ImageBytes oversize = FileOf(kFamily7, Form::Plain);
  oversize.push_back(0xFF);
  test_support::MemoryFileSystem files;
  files.Put("f.vrl", FileOf(kFamily8 + 9, Form::Stored));
  files.Put("over.vrl", oversize);
  files.Put("empty.vrl", {});
  files.Put("bad.vrl", FileOf(kFamily7, Form::Plain));
  files.unreadable.push_back("bad.vrl");

  const SourceFileCheck check = CheckSourceFile(files, "f.vrl");
  ASSERT_EQ(check.outcome, SourceCheck::Matched);
  EXPECT_EQ(check.recognition.typeCodeRow, kFamily8 + 9);
  EXPECT_TRUE(check.recognition.fromUnpackedImage);
  for (const char* name : {"over.vrl", "empty.vrl", "bad.vrl"})
    EXPECT_EQ(CheckSourceFile(files, name).outcome, SourceCheck::NoRow) << name;
  EXPECT_EQ(CheckSourceFile(files, "gone.vrl").outcome, SourceCheck::CannotOpen);
}

TEST(FileIdentity, ShowsThirtyPrintableCharactersAndTakesBothIds) {
  FileRecognition recognition{kFamily2, false, {}};
  const std::string header = std::string("KXDV\0\x01", 6) + "SHORT-ID|LONG-ID-16-CHARS|tail";
  std::copy(header.begin(), header.end(), recognition.header.begin());
  recognition.header[6 + 2] = 0x00;
  recognition.header[6 + 10] = 0x80;
  recognition.header[6 + 29] = 0x7F;  // DEL is the last byte shown as it is
  recognition.header[6 + 28] = 0x1F;

  FirmwareImage image;
  image.fileLongId.fill('x');
  TakeIdentity(image, recognition);
  EXPECT_EQ(image.fileIdentText, "SH RT-ID|L NG-ID-16-CHARS|ta \x7F");
  EXPECT_EQ(std::string(image.fileTypeCode.data(), 7), std::string("KXDV\0\x01\0", 7));
  EXPECT_STREQ(image.fileShortId.data(), "SH RT-ID");
  EXPECT_STREQ(image.fileLongId.data(), "L NG-ID-16-CHARS");  // family 2 too
  EXPECT_EQ(image.fileTypeIndex, kFamily2);
  EXPECT_EQ(image.fileFamily, 2);

  ClearIdentity(image);
  EXPECT_EQ(image.fileTypeIndex, kNoTypeCodeRow);
  EXPECT_EQ(image.fileFamily, kNoFileFamily);
  EXPECT_EQ(image.fileTypeCode, TypeCodeField{});
  EXPECT_EQ(image.fileShortId, ShortIdField{});
  EXPECT_EQ(image.fileLongId, LongIdField{});
  EXPECT_TRUE(image.fileIdentText.empty());
}

TEST(LoadImageFile, LoadsOnlyWhatMayBeFlashedAndAlwaysAsThePlainImage) {
  struct Replacement {
    int row;
    Form form;
    bool otherShortId = false;
  };
  struct Case {
    const char* name;
    int row;
    Form form;
    int driveFamily;
    bool loaded;
    // What lies under the name at Start instead of the file that was selected.
    std::optional<Replacement> replacedBy = std::nullopt;
    bool notTheSelectedImage = false;
  };
  // clang-format off
  const Case cases[] = {
      {"k5.vrl", kFamily5, Form::Stored, 5, true}, {"k6.vrl", kFamily6, Form::Stored, 6, true},
      {"K7.VRL", kFamily7, Form::Stored, 7, true}, {"k7.bin", kFamily7, Form::Plain, 7, true},
      {"k8.Vrl", kFamily8, Form::Stored, 8, true},
      {"a.b.vrl", kFamily7, Form::Stored, 7, false},  // the extension is "b.vrl"
      {"k5.bin", kFamily5, Form::Plain, 5, false},    // plain files are family 7's alone
      {"k4.bin", kFamily4, Form::Plain, 4, false}, {"k0.bin", kFamily0, Form::Plain, 0, false},
      {"vrl", kFamily7, Form::Plain, 7, false},  // no dot: the whole name is the extension
      // Recognised through its stored form, but a ".bin" is taken as it is: it would go out packed.
      {"k7 stored.bin", kFamily7, Form::Stored, 7, false, std::nullopt, true},
      {"k8 then k6.vrl", kFamily8, Form::Stored, 8, false, Replacement{kFamily6, Form::Stored}, true},
      // Does not even unpack as family 7: refused as any such file is.
      {"k7 then k5.vrl", kFamily7, Form::Stored, 7, false, Replacement{kFamily5, Form::Stored}},
      {"k8 then another k8.vrl", kFamily8, Form::Stored, 8, false, Replacement{kFamily8 + 1, Form::Stored}, true},
      {"k7 then another k7.bin", kFamily7, Form::Plain, 7, false, Replacement{kFamily7 + 2, Form::Plain}, true},
      {"k8 then one with another short id.vrl", kFamily8, Form::Stored, 8, false, Replacement{kFamily8, Form::Stored, true}, true},
      // The same identity with other contents is the same firmware as far as anyone can tell.
      {"k8 then the same ids.vrl", kFamily8, Form::Stored, 8, true, Replacement{kFamily8, Form::Stored}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test_support::MemoryFileSystem files;
    const ImageBytes image = MakeSampleImage(c.row, 3);
    files.Put(c.name, c.form == Form::Plain ? image : *SampleFileBytes(c.row, image));
    FirmwareImage selected;
    const SourceFileCheck check = CheckSourceFile(files, c.name);
    ASSERT_EQ(check.outcome, SourceCheck::Matched);
    TakeIdentity(selected, check.recognition);
    ImageBytes expected = image;
    if (const auto& other = c.replacedBy) {
      expected = MakeSampleImage(other->row, 4);
      if (other->otherShortId) ++expected[TypeCodeTable[other->row].codeOffset + 6];
      files.Put(c.name,
                other->form == Form::Plain ? expected : *SampleFileBytes(other->row, expected));
    }
    files.opens = 0;

    const ImageLoad load = LoadImageFile(selected, files, c.name, c.driveFamily);
    EXPECT_EQ(load.loaded, c.loaded);
    EXPECT_EQ(load.openError, 0);
    EXPECT_EQ(load.notTheSelectedImage, c.notTheSelectedImage);
    if (c.loaded) {
      EXPECT_TRUE(selected.imageBuffer == expected);
    }
    // Rows that are never flashed are refused before the file is touched.
    EXPECT_EQ(files.opens, RowIsScrambled(c.row) ? 1 : 0);
  }
}

TEST(LoadImageFile, RefusesBadLengthsAndFillsAShortPlainImageWithErasedFlash) {
  test_support::MemoryFileSystem files;
  const ImageBytes image = MakeSampleImage(kFamily7, 4);
  files.Put("short.bin", ImageBytes(image.begin(), image.begin() + 0x9000));
  ImageBytes oversize = image;
  oversize.push_back(0);
  files.Put("big.bin", oversize);
  files.Put("empty.bin", {});

  FirmwareImage selected;
  TakeIdentity(selected, CheckSourceFile(files, "short.bin").recognition);
  ASSERT_TRUE(LoadImageFile(selected, files, "short.bin", 7).loaded);
  EXPECT_TRUE(std::equal(image.begin(), image.begin() + 0x9000, selected.imageBuffer.begin()));
  EXPECT_TRUE(std::all_of(selected.imageBuffer.begin() + 0x9000, selected.imageBuffer.end(),
                          [](std::uint8_t byte) { return byte == 0xFF; }));

  for (const char* refused : {"big.bin", "empty.bin"}) {
    FirmwareImage other = selected;
    other.imageBuffer.clear();
    EXPECT_FALSE(LoadImageFile(other, files, refused, 7).loaded) << refused;
    EXPECT_TRUE(other.imageBuffer.empty()) << refused;  // never read
  }
  EXPECT_EQ(LoadImageFile(selected, files, "gone.bin", 7).openError, ENOENT);

  FirmwareImage nothingSelected;
  EXPECT_FALSE(LoadImageFile(nothingSelected, files, "short.bin", 7).loaded);
}

TEST(FileErrorText, NamesTheCauseOfAFailedOpen) {
  const std::pair<int, const char*> cases[] = {
      {ENOENT, "k7.vrl が見つかりませんでした。"},
      {EACCES, "k7.vrl へのｱｸｾｽは拒否されました。"},
      {EPERM, "k7.vrl へのｱｸｾｽは拒否されました。"},
      {EMFILE, "開いているﾌｧｲﾙが多すぎるため、k7.vrl を開けませんでした。"},
      {ENFILE, "開いているﾌｧｲﾙが多すぎるため、k7.vrl を開けませんでした。"},
      {ENAMETOOLONG, "k7.vrl には無効なﾊﾟｽが含まれています。"},
      {ENOTDIR, "k7.vrl には無効なﾊﾟｽが含まれています。"},
      {EIO, "k7.vrl へのｱｸｾｽ中にﾊｰﾄﾞｳｪｱ I/O ｴﾗｰが報告されました。"},
      {ENOSPC, "k7.vrl へのｱｸｾｽ中にﾃﾞｨｽｸがいっぱいになりました。"},
      {EISDIR, "k7.vrl へのｱｸｾｽ中に不明なｴﾗｰが発生しました。"},
  };
  for (const auto& [error, text] : cases) {
    EXPECT_EQ(FileErrorText(CauseOfOpenError(error), "k7.vrl"), text) << error;
  }
  EXPECT_EQ(FileErrorText(kNoError, "x"), "ｴﾗｰはありませんでした。");
  EXPECT_EQ(FileErrorText(kEndOfFile, "x"), "x の末尾以降にｱｸｾｽしようとしました。");
}

TEST(BackupName, TakesTheFirstNameOfItsExtensionThatNoFileHasInAnyCase) {
  EXPECT_EQ(BackupFileName(0, true), "CDRWFW00.VRL");
  EXPECT_EQ(BackupFileName(7, false), "CDRWFW07.BIN");

  test_support::MemoryFileSystem files;
  files.Put("cdrwfw00.vrl", {1});
  EXPECT_EQ(FreeBackupName(files, true), "CDRWFW01.VRL");
  files.Put("CDRWFW01.Vrl", {1});
  files.Put("CDRWFW00.BIN", {1});
  EXPECT_EQ(FreeBackupName(files, true), "CDRWFW02.VRL");
  EXPECT_EQ(FreeBackupName(files, false), "CDRWFW01.BIN");
  files.openErrors["CDRWFW01.BIN"] = EACCES;
  files.Put("CDRWFW01.BIN", {1});
  EXPECT_EQ(FreeBackupName(files, false), "CDRWFW02.BIN");  // unreadable, yet never replaced
  for (int n = 2; n < 10; ++n)
    files.Put(BackupFileName(n, true), {1});
  EXPECT_EQ(FreeBackupName(files, true), std::nullopt);
}

}  // namespace
}  // namespace zentor::firmware
