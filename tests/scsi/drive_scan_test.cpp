#include "scsi/drive_scan.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <set>

#include "scsi/sim_drives.h"

namespace zentor::scsi {
namespace {

using platform::sim::DriveAnswer;
using platform::sim::SimBus;
using testing::ElementsAre;
using testing_support::SimDrives;

// Devices 0..99 in order, each open only for its INQUIRY (the last one too: nothing else
// would close it); drive letters d..z, nothing beyond.
TEST(DriveScan, ListsExactlyTheSupportedDrivesInScanOrder) {
  SimDrives sim;
  sim.AttachCdrom(99, "DVD+RW KX4410B  ");
  sim.AttachCdrom(3);
  sim.AttachCdrom(4);  // the same model again: an entry of its own
  EXPECT_THAT(ScanPassThrough(sim.drives), ElementsAre("cdrom3 :  VAREL   CD-RW KX1210A   1.00",
                                                       "cdrom4 :  VAREL   CD-RW KX1210A   1.00",
                                                       "cdrom99 :  VAREL   DVD+RW KX4410B  1.00"));
  EXPECT_EQ(sim.platform.bus().openAttempts().size(), 100u);
  EXPECT_EQ(sim.platform.bus().openHandleCount(), 0u);
  EXPECT_EQ(sim.platform.bus().closeCount(), 3);

  SimDrives letters(TransportKind::DriveLetter);
  letters.Attach(SimBus::DriveLetterName('d'));
  letters.Attach(SimBus::DriveLetterName('z'), "KX-LOADER E5    ");
  letters.Attach(SimBus::DriveLetterName('c'));
  EXPECT_THAT(ScanPassThrough(letters.drives),
              ElementsAre("drive0 :  VAREL   CD-RW KX1210A   1.00",
                          "drive22 :  VAREL   KX-LOADER E5    1.00"));
}

std::vector<std::uint8_t> InquiryAnswer(const std::string& text, std::size_t nulAt) {
  std::vector<std::uint8_t> answer(36, 0);
  std::copy(text.begin(), text.end(), answer.begin() + 8);
  answer[nulAt] = 0;
  return answer;
}

TEST(DriveScan, SkipsEveryDeviceThatFailsOrIsNotSupported) {
  SimDrives sim;
  sim.AttachCdrom(0, "cd-rw KX1210A   ");  // letter case differs
  sim.AttachCdrom(1, "CD-RW KX9999A   ");  // unknown model
  sim.AttachCdrom(2)->SetOpenable(false);
  sim.AttachCdrom(3)->InjectFault({0x12, DriveAnswer::Check(5, 0x24, 0), -1});
  sim.AttachCdrom(4)->InjectFault({0x12, DriveAnswer::Status(0x08), -1});
  sim.AttachCdrom(5)->InjectFault({0x12, DriveAnswer::None(), -1});
  sim.AttachCdrom(6);  // the one good drive
  sim.AttachCdrom(7)->SetInquiryData({0x05, 0x80, 0, 0x21, 3, 0, 0, 0});  // 8 bytes only
  // A NUL in the product where the blank belongs.
  sim.AttachCdrom(8)->SetInquiryData(InquiryAnswer("VAREL   CD-RW KX1210A   1.00", 31));
  // A NUL in the vendor ends the label, but the model still matches.
  sim.AttachCdrom(9)->SetInquiryData(InquiryAnswer("VAxEL   DVD/CDRW KX8001 2.10", 10));
  EXPECT_THAT(ScanPassThrough(sim.drives),
              ElementsAre("cdrom6 :  VAREL   CD-RW KX1210A   1.00", "cdrom9 :  VA"));
  EXPECT_EQ(sim.platform.bus().openHandleCount(), 0u);
}

TEST(DriveScan, AnyInquiryAnswerIsListedOnlyWhenItsProductIdIsAModel) {
  std::mt19937 random(20261206);
  std::set<std::string> models;
  for (const ModelRecord* r = ModelTable; r->productId[0]; ++r)
    models.insert(r->productId);
  for (int round = 0; round < 300; ++round) {
    SimDrives sim;
    std::vector<std::uint8_t> answer(random() % 40);
    for (auto& b : answer)
      b = static_cast<std::uint8_t>(random());
    const bool supported = answer.size() >= 32 && random() % 2 == 0;
    if (supported) {
      const std::string& model = *std::next(models.begin(), random() % models.size());
      std::memcpy(answer.data() + 16, model.data(), 16);
    }
    sim.AttachCdrom(0)->SetInquiryData(answer);
    EXPECT_EQ(ScanPassThrough(sim.drives).size(), supported ? 1u : 0u) << round;
  }
}

}  // namespace
}  // namespace zentor::scsi
