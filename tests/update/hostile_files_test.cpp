// SPDX-License-Identifier: GPL-2.0-or-later
// Whatever lies in the working directory under a firmware name, a whole run with it (list,
// selection, Start on a drive that would take a good file) ends as it should: a good file
// flashes, anything else matches no row, fails to load or is never listed, and no block of
// it reaches the drive.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/linux/posix_file_system.h"
#include "tests/temp_directory.h"
#include "tests/update/update_rig.h"
#include "update/wizard_step.h"

namespace zentor::update {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using namespace test_support;  // the rig, drives of a row, opcodes

constexpr int kFamily6Row = 15;
constexpr int kFamily7Row = 25;
constexpr int kFamily8Row = 35;

Bytes PlainOf(int row) {
  const auto image = firmware::MakeSampleImage(row, 2);
  return {image.begin(), image.end()};
}
Bytes StoredOf(int row) { return *firmware::SampleFileBytes(row, firmware::MakeSampleImage(row, 2)); }

struct HostileFile {
  const char* what;
  std::string name;
  int driveRow;
  std::function<void(const fs::path& where)> make;
  int step;                // where Start ends
  Bytes flashed;           // the flash after a completed update
  std::string message;     // the message box Start shows, if any
  bool listed = true;
  // What happens to the file between its selection and Start.
  std::function<void(const fs::path& where)> beforeStart = nullptr;
};

void Write(const fs::path& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
std::function<void(const fs::path&)> File(Bytes bytes) {
  return [bytes](const fs::path& where) { Write(where, bytes); };
}

// The file-error box's text for a file that is not the one that was checked.
std::string UnknownError(const std::string& name) {
  return name + " へのｱｸｾｽ中に不明なｴﾗｰが発生しました。";
}

std::vector<HostileFile> Cases() {
  // Files empty, cut short, too long or with a count out of range are the fuzzers' (the
  // loader's length rules, unpacking and recognition for any bytes).
  const Bytes stored8 = StoredOf(kFamily8Row);
  const Bytes plain8 = PlainOf(kFamily8Row);
  return {
      {"another family's file", "kxr60.vrl", kFamily8Row, File(StoredOf(kFamily6Row)),
       StepTypeCodeDiffers, {}, ""},
      {"a directory", "x.vrl", kFamily8Row,
       [](const fs::path& where) { fs::create_directory(where); }, StepTypeCodeDiffers, {}, "",
       false},
      // Opening a FIFO would wait for a writer.
      {"a FIFO", "pipe.vrl", kFamily8Row,
       [](const fs::path& where) { ASSERT_EQ(::mkfifo(where.c_str(), 0600), 0); },
       StepTypeCodeDiffers, {}, "", false},
      // Its reads fail with EIO, also for root.
      {"a file that cannot be read", "mem.vrl", kFamily8Row,
       [](const fs::path& where) { fs::create_symlink("/proc/self/mem", where); },
       StepTypeCodeDiffers, {}, ""},
      {"a name that is no UTF-8", "\xFF\xFE\x80.VRL", kFamily8Row, File(stored8), StepCompleted,
       plain8, ""},
      // Listed and matched, then gone or replaced before Start.
      {"removed after selection", "\xFF\xFE.vrl", kFamily8Row, File(stored8), StepUpdateFailed,
       {}, "\xFF\xFE.vrl が見つかりませんでした。", true,
       [](const fs::path& where) { fs::remove(where); }},
      {"replaced by another family's file", "new.vrl", kFamily8Row, File(stored8),
       StepUpdateFailed, {}, UnknownError("new.vrl"), true, File(StoredOf(kFamily6Row))},
      // Recognised by unpacking it, but a ".bin" is sent as it stands: it would go out packed.
      {"a stored file under a plain name", "kxr70.bin", kFamily7Row, File(StoredOf(kFamily7Row)),
       StepUpdateFailed, {}, UnknownError("kxr70.bin")},
  };
}

TEST(HostileFiles, EndAsTheRulesSayAndNeverReachTheDrive) {
  const zentor::test_support::TempDirectory temp("zentor-hostile");
  const fs::path& directory_ = temp.path();
  for (const HostileFile& file : Cases()) {
    SCOPED_TRACE(file.what);
    fs::remove_all(directory_);
    fs::create_directory(directory_);
    file.make(directory_ / file.name);

    platform::linux_os::PosixFileSystem files(directory_.string());
    UpdateRig run(scsi::TransportKind::CdromDevice, &files);
    FlashDrive& drive = run.Attach(DriveOfRow(file.driveRow, 1));
    const Bytes old = drive.flash();
    run.ChooseFirstDriveAndFile();
    EXPECT_EQ(run.dialog.SelectedSourceFile(), file.listed ? file.name : "");
    if (file.beforeStart) file.beforeStart(directory_ / file.name);
    run.view.Click(ui::kNextStartButton);
    run.view.Click(ui::kNextStartButton);

    EXPECT_EQ(run.dialog.WizardStep, file.step);
    if (file.step == StepCompleted) {
      EXPECT_TRUE(drive.flash() == file.flashed);
      continue;
    }
    EXPECT_TRUE(drive.flash() == old);
    for (std::uint8_t write : {kOpLongBlock, kOpShortBlock, kOpEndTransfer, kOpStartUpdate})
      EXPECT_EQ(run.Count(write), 0);
    const auto& boxes = run.view.MessageBoxes();
    if (file.message.empty()) {
      EXPECT_TRUE(boxes.empty());
    } else {
      ASSERT_EQ(boxes.size(), 1u);
      EXPECT_EQ(boxes[0].text, file.message);
    }
  }
}

}  // namespace
}  // namespace zentor::update
