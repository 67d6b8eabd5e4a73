#include "scsi/drive_label.h"

#include <gtest/gtest.h>

namespace zentor::scsi {
namespace {

constexpr const char* kIdent = "VAREL   CD-RW KX1210A   1.00";

TEST(DriveLabel, PrefixesFollowTheTransport) {
  EXPECT_EQ(FormatDriveLabel(TransportKind::Aspi, {1, 0, 0}, kIdent),
            "HA:1 ID:0  VAREL   CD-RW KX1210A   1.00");
  EXPECT_EQ(FormatDriveLabel(TransportKind::CdromDevice, {0, 0, 12}, kIdent),
            "cdrom12 :  VAREL   CD-RW KX1210A   1.00");
  EXPECT_EQ(FormatDriveLabel(TransportKind::DriveLetter, {0, 0, 0}, kIdent),
            "drive0 :  VAREL   CD-RW KX1210A   1.00");
}

struct ParseCase {
  TransportKind kind;
  const char* label;
  DriveAddress expected;
};

void PrintTo(const ParseCase& c, std::ostream* os) {
  *os << '"' << c.label << '"';
}

class ReadDriveLabelTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ReadDriveLabelTest, SetsTheFieldsOfItsTransportOnly) {
  const auto c = GetParam();
  DriveAddress address{77, 66, 55};
  ReadDriveLabel(c.label, c.kind, address);
  EXPECT_EQ(address.hostAdapter, c.expected.hostAdapter) << c.label;
  EXPECT_EQ(address.targetId, c.expected.targetId) << c.label;
  EXPECT_EQ(address.deviceNumber, c.expected.deviceNumber) << c.label;
}

constexpr auto kCdrom = TransportKind::CdromDevice;
constexpr auto kLetter = TransportKind::DriveLetter;
constexpr auto kAspi = TransportKind::Aspi;

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Labels, ReadDriveLabelTest,
    testing::Values(
        ParseCase{kCdrom, "cdrom12 :  VAREL   CD-RW KX1210A   1.00", {77, 66, 12}},
        ParseCase{kCdrom, "cdrom0 :  VAREL", {77, 66, 0}},
        ParseCase{kLetter, "drive3 :  VAREL", {77, 66, 3}},
        ParseCase{kLetter, "drive22:", {77, 66, 22}},
        // An empty list gives an empty label, and so device 0.
        ParseCase{kCdrom, "", {77, 66, 0}}, ParseCase{kCdrom, "cdrom", {77, 66, 0}},
        ParseCase{kCdrom, "cdromX :", {77, 66, 0}},
        ParseCase{kCdrom, "cdrom1234", {77, 66, 123}},  // at most three digits are read
        ParseCase{kCdrom, "cdrom999", {77, 66, 255}},   // too big: names no scanned drive
        ParseCase{kAspi, "HA:2 ID:5  VAREL", {2, 5, 55}}, ParseCase{kAspi, "HA:0 ID:7  ", {0, 7, 55}},
        // Adapters from 10 on are read in full, never as adapter 1.
        ParseCase{kAspi, "HA:12 ID:3  VAREL", {12, 3, 55}}, ParseCase{kAspi, "HA:254 ID:6  ", {254, 6, 55}},
        ParseCase{kAspi, "", {0, 0, 55}}, ParseCase{kAspi, "HA:x ID:4", {0, 4, 55}}));
// clang-format on

}  // namespace
}  // namespace zentor::scsi
