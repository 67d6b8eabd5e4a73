#include "platform/sim/virtual_drive.h"

#include <gtest/gtest.h>

#include <array>

namespace zentor::platform::sim {
namespace {

constexpr std::array<std::uint8_t, 6> kInquiry36 = {0x12, 0, 0, 0, 36, 0};

TEST(VirtualDrive, AnswersInquiryWithItsPaddedIdentity) {
  VirtualDrive drive({"VAREL", "CD-RW KX1210A", "1.2"});
  std::array<std::uint8_t, 36> data{};
  const auto answer = drive.Execute(kInquiry36, DataDirection::In, data);
  EXPECT_EQ(answer.kind, DriveAnswer::Kind::Good);
  EXPECT_EQ(answer.dataLength, 36u);
  EXPECT_EQ(std::string(data.begin() + 8, data.end()), "VAREL   CD-RW KX1210A   1.2 ");
}

TEST(VirtualDrive, AllocationLengthAndBufferCapTheInquiryAnswer) {
  VirtualDrive drive({"VAREL", "CD-RW KX1210A", "1.2"});
  std::array<std::uint8_t, 36> data{};
  const std::array<std::uint8_t, 6> short5 = {0x12, 0, 0, 0, 5, 0};
  EXPECT_EQ(drive.Execute(short5, DataDirection::In, data).dataLength, 5u);
  EXPECT_EQ(drive.Execute(kInquiry36, DataDirection::In, std::span(data).first(20)).dataLength,
            20u);
}

TEST(VirtualDrive, RefusesUnknownOpcodesAndWrongDirection) {
  VirtualDrive drive({"VAREL", "CD-RW KX1210A", "1.2"});
  std::array<std::uint8_t, 36> data{};
  const std::array<std::uint8_t, 10> vendor = {0xEF};
  const auto unknown = drive.Execute(vendor, DataDirection::None, {});
  EXPECT_EQ(unknown.kind, DriveAnswer::Kind::CheckCondition);
  EXPECT_EQ(unknown.asc, 0x20);
  const auto wrongWay = drive.Execute(kInquiry36, DataDirection::Out, data);
  EXPECT_EQ(wrongWay.kind, DriveAnswer::Kind::CheckCondition);
  EXPECT_EQ(wrongWay.asc, 0x24);
}

TEST(VirtualDrive, InjectedFaultsHitMatchingCommandsTheGivenNumberOfTimes) {
  VirtualDrive drive({"VAREL", "CD-RW KX1210A", "1.2"});
  std::array<std::uint8_t, 36> data{};
  const std::array<std::uint8_t, 6> tur = {0x00, 0, 0, 0, 0, 0x80};
  drive.InjectFault({0x12, DriveAnswer::Status(0x08), 2});
  EXPECT_EQ(drive.Execute(tur, DataDirection::None, {}).kind, DriveAnswer::Kind::Good);
  EXPECT_EQ(drive.Execute(kInquiry36, DataDirection::In, data).status, 0x08);
  EXPECT_EQ(drive.Execute(kInquiry36, DataDirection::In, data).status, 0x08);
  EXPECT_EQ(drive.Execute(kInquiry36, DataDirection::In, data).kind, DriveAnswer::Kind::Good);
  EXPECT_EQ(drive.received().size(), 4u);
}

}  // namespace
}  // namespace zentor::platform::sim
