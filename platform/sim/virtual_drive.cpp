// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/sim/virtual_drive.h"

#include <algorithm>
#include <array>

namespace zentor::platform::sim {
namespace {

constexpr std::size_t kStandardInquiryLength = 36;
constexpr std::uint8_t kPeripheralCdDvd = 0x05;
constexpr std::uint8_t kRemovableMedium = 0x80;

// Fixed-width INQUIRY fields are padded with blanks, as drives do.
void PutField(std::array<std::uint8_t, kStandardInquiryLength>& answer, std::size_t offset,
              std::size_t width, const std::string& text) {
  for (std::size_t i = 0; i < width; ++i) {
    answer[offset + i] = i < text.size() ? static_cast<std::uint8_t>(text[i]) : ' ';
  }
}

// Hands back as much of an answer as the allocation length (the big-endian CDB bytes at
// lengthAt) and the buffer both allow.
DriveAnswer ReturnData(std::span<const std::uint8_t> answer, std::span<const std::uint8_t> cdb,
                       std::size_t lengthAt, std::span<std::uint8_t> data) {
  const std::size_t allocation = (std::size_t{cdb[lengthAt]} << 8) | cdb[lengthAt + 1];
  const std::size_t n = std::min({answer.size(), allocation, data.size()});
  std::copy_n(answer.begin(), n, data.begin());
  return DriveAnswer::Good(static_cast<std::uint32_t>(n));
}

}  // namespace

VirtualDrive::VirtualDrive(Identity identity) : identity_(std::move(identity)) {}

DriveAnswer VirtualDrive::Execute(std::span<const std::uint8_t> cdb, DataDirection direction,
                                  std::span<std::uint8_t> data) {
  received_.push_back({std::vector<std::uint8_t>(cdb.begin(), cdb.end()),
                       direction,
                       static_cast<std::uint32_t>(data.size()),
                       {},
                       {}});
  if (direction == DataDirection::Out && keepDataOut_)
    received_.back().dataOut.assign(data.begin(), data.end());
  const std::size_t index = received_.size() - 1;
  const DriveAnswer answer = Answer(cdb, direction, data);
  received_[index].answer = answer;
  return answer;
}

DriveAnswer VirtualDrive::Answer(std::span<const std::uint8_t> cdb, DataDirection direction,
                                 std::span<std::uint8_t> data) {
  if (cdb.empty()) return DriveAnswer::Check(kSenseIllegalRequest, kAscInvalidOpcode, 0);
  const std::optional<InjectedFault> fault = TakeFault(cdb[0]);
  if (!fault) return Handle(cdb, direction, data);
  if (fault->moveAtMost) return ShortAnswer(*fault->moveAtMost, cdb, direction, data);
  return fault->answer;
}

// The answer is made in a buffer of its own, and only its first bytes reach the caller's:
// the rest of that buffer keeps whatever it held, as after a real short transfer.
DriveAnswer VirtualDrive::ShortAnswer(std::uint32_t moveAtMost, std::span<const std::uint8_t> cdb,
                                      DataDirection direction, std::span<std::uint8_t> data) {
  if (direction != DataDirection::In) return Handle(cdb, direction, data);
  std::vector<std::uint8_t> whole(data.size());
  DriveAnswer answer = Handle(cdb, direction, whole);
  if (answer.kind != DriveAnswer::Kind::Good) return answer;
  answer.dataLength = std::min(answer.dataLength, moveAtMost);
  std::copy_n(whole.begin(), answer.dataLength, data.begin());
  return answer;
}

std::optional<InjectedFault> VirtualDrive::TakeFault(std::uint8_t opcode) {
  for (auto& fault : faults_) {
    if (fault.times == 0 || (fault.opcode && *fault.opcode != opcode)) continue;
    if (fault.skip > 0) {
      --fault.skip;
      continue;
    }
    if (fault.times > 0) --fault.times;
    return fault;
  }
  return std::nullopt;
}

DriveAnswer VirtualDrive::Handle(std::span<const std::uint8_t> cdb, DataDirection direction,
                                 std::span<std::uint8_t> data) {
  switch (cdb[0]) {
    case kOpInquiry:
      return Inquiry(cdb, direction, data);
    // The tray is empty: what needs a disc is not ready.
    case kOpTestUnitReady:
    case kOpReadCapacity:
    case kOpReadToc:
      return DriveAnswer::Check(kSenseNotReady, kAscNoMedium, 0);
    case kOpPreventAllowRemoval:
      return DriveAnswer::Good();
    case kOpGetEventStatus:
      return MediaEventStatus(cdb, data);
    case kOpModeSense10:
      return Capabilities(cdb, data);
    default:
      return DriveAnswer::Check(kSenseIllegalRequest, kAscInvalidOpcode, 0);
  }
}

// Only the polled form, and only media events: nothing has changed, the tray is closed and
// empty.
DriveAnswer VirtualDrive::MediaEventStatus(std::span<const std::uint8_t> cdb,
                                           std::span<std::uint8_t> data) const {
  constexpr std::uint8_t kPolled = 0x01;
  constexpr std::uint8_t kMediaClass = 0x10;
  if (cdb.size() != 10 || !(cdb[1] & kPolled)) {
    return DriveAnswer::Check(kSenseIllegalRequest, kAscInvalidField, 0);
  }
  const bool media = (cdb[4] & kMediaClass) != 0;
  // The header, then the media event (no change, tray closed and empty: all zeros).
  std::array<std::uint8_t, 8> answer{};
  answer[1] = media ? 6 : 2;     // event data length
  answer[2] = media ? 4 : 0x80;  // the media class, or "no event available"
  answer[3] = kMediaClass;       // the classes the drive supports
  return ReturnData(std::span(answer).first(media ? answer.size() : 4), cdb, 7, data);
}

// The capabilities page (0x2A) is the only mode page: a CD-R/RW writer with a tray that
// locks and ejects.
DriveAnswer VirtualDrive::Capabilities(std::span<const std::uint8_t> cdb,
                                       std::span<std::uint8_t> data) const {
  constexpr std::uint8_t kCapabilitiesPage = 0x2A;
  constexpr std::size_t kPageLength = 20;
  if (cdb.size() != 10 || (cdb[2] & 0x3F) != kCapabilitiesPage) {
    return DriveAnswer::Check(kSenseIllegalRequest, kAscInvalidField, 0);
  }
  std::array<std::uint8_t, 8 + 2 + kPageLength> answer{};
  answer[1] = static_cast<std::uint8_t>(answer.size() - 2);  // mode data length
  answer[8] = kCapabilitiesPage;
  answer[9] = kPageLength;
  answer[10] = 0x03;  // reads CD-R and CD-RW
  answer[11] = 0x03;  // writes CD-R and CD-RW
  answer[14] = 0x29;  // tray, eject, lock
  return ReturnData(answer, cdb, 7, data);
}

DriveAnswer VirtualDrive::Inquiry(std::span<const std::uint8_t> cdb, DataDirection direction,
                                  std::span<std::uint8_t> data) const {
  if (cdb.size() != 6) return DriveAnswer::Check(kSenseIllegalRequest, kAscInvalidField, 0);
  if (direction != DataDirection::In) {
    return DriveAnswer::Check(kSenseIllegalRequest, kAscInvalidField, 0);
  }
  std::vector<std::uint8_t> answer;
  if (inquiryOverride_) {
    answer = *inquiryOverride_;
  } else {
    std::array<std::uint8_t, kStandardInquiryLength> standard{};
    standard[0] = kPeripheralCdDvd;
    standard[1] = kRemovableMedium;
    standard[4] = kStandardInquiryLength - 5;
    PutField(standard, 8, 8, identity_.vendor);
    PutField(standard, 16, 16, identity_.product);
    PutField(standard, 32, 4, identity_.revision);
    answer.assign(standard.begin(), standard.end());
  }
  return ReturnData(answer, cdb, 3, data);
}

}  // namespace zentor::platform::sim
