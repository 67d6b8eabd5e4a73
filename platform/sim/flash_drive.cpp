// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/sim/flash_drive.h"

#include <algorithm>
#include <numeric>

#include "platform/sim/fixed_sense.h"

namespace zentor::platform::sim {
namespace {

constexpr std::uint8_t kLoaderBit = 0x40;
constexpr std::uint8_t kAlternateReadMark = 'r';
constexpr std::uint32_t kReadLength = 0x4000;

constexpr std::uint8_t kAscAddressOutOfRange = 0x21;
constexpr std::uint8_t kAscSequenceError = 0x2C;
constexpr std::uint8_t kAscUpdatePhase = 0xF7;
constexpr int kFinished = 4;

DriveAnswer Refuse(std::uint8_t asc) {
  return DriveAnswer::Check(kSenseIllegalRequest, asc, 0);
}

// The drive checks every byte of its command blocks: bytes its commands do not use must
// be zero, so a byte left over from another command is refused, not ignored.
bool OnlyUsedBytesSet(std::span<const std::uint8_t> cdb, std::initializer_list<std::size_t> used) {
  for (std::size_t at = 1; at < cdb.size(); ++at) {
    if (cdb[at] != 0 && std::ranges::find(used, at) == used.end()) return false;
  }
  return true;
}

// Byte 9 of the loader switch and the flash start: the option bit or nothing.
bool OptionByteValid(std::uint8_t byte) {
  return (byte & ~kLoaderBit) == 0;
}

// The loader takes a TEST UNIT READY as its phase probe only with the vendor bit in the
// control byte.
constexpr std::uint8_t kProbeControl = 0x80;

std::uint32_t BigEndian(std::span<const std::uint8_t> bytes) {
  return std::accumulate(bytes.begin(), bytes.end(), std::uint32_t{0},
                         [](std::uint32_t value, std::uint8_t b) { return (value << 8) | b; });
}

}  // namespace

FlashDrive::FlashDrive(Setup setup, Clock& clock)
    : VirtualDrive(setup.identity), setup_(std::move(setup)), clock_(clock) {}

std::size_t FlashDrive::DocumentedCommandLength(std::uint8_t opcode) {
  return opcode == kOpReadFlash ? 12 : 0;
}

const std::vector<std::uint8_t>& FlashDrive::flash() {
  CatchUp();
  return setup_.flash;
}

// The drive works on by itself after the flash start: the erase clears the flash, the
// write puts the received image there, and at the end the drive restarts without a disc.
void FlashDrive::CatchUp() {
  if (state_ != State::Updating) return;
  std::uint64_t elapsed = clock_.NowMs() - updateStart_;
  int phase = 0;
  while (phase < kFinished && elapsed >= setup_.phaseMs[static_cast<std::size_t>(phase)]) {
    elapsed -= setup_.phaseMs[static_cast<std::size_t>(phase)];
    ++phase;
  }
  if (phase_ < 1 && phase >= 1) std::ranges::fill(setup_.flash, 0xFF);
  if (phase_ < 3 && phase >= 3) setup_.flash.swap(image_);  // image_ is not read again
  phase_ = phase;
  if (phase == kFinished) {
    state_ = State::Finished;
    image_.clear();
    ReportProduct(setup_.identity.product);
  }
}

// The answer to any command while an update runs or after it: busy with a phase, or the
// restarted drive that has no disc.
std::optional<DriveAnswer> FlashDrive::UpdateCondition() {
  if (state_ == State::Updating) {
    return DriveAnswer::Check(kSenseNotReady, kAscUpdatePhase, static_cast<std::uint8_t>(phase_));
  }
  if (state_ == State::Finished) return DriveAnswer::Check(kSenseNotReady, kAscNoMedium, 0);
  return std::nullopt;
}

DriveAnswer FlashDrive::Handle(std::span<const std::uint8_t> cdb, DataDirection direction,
                               std::span<std::uint8_t> data) {
  CatchUp();
  const std::uint8_t opcode = cdb[0];
  if (opcode == kOpRequestSense) return RequestSense(cdb, data);
  if (opcode == kOpInquiry && state_ != State::Updating) {
    return VirtualDrive::Handle(cdb, direction, data);
  }
  if (opcode == kOpLoader && state_ != State::Updating) {
    if (cdb.size() != 10 || !OnlyUsedBytesSet(cdb, {9}) || !OptionByteValid(cdb[9])) {
      return Refuse(kAscInvalidField);
    }
    if (cdb[9] & kLoaderBit) {
      state_ = State::Loader;
      image_.clear();
      ReportProduct(setup_.loaderProduct);
    }
    return DriveAnswer::Good();
  }
  if (opcode == kOpTestUnitReady && state_ == State::Updating &&
      (cdb.size() != 6 || !OnlyUsedBytesSet(cdb, {5}) || cdb[5] != kProbeControl)) {
    return Refuse(kAscInvalidField);
  }
  if (auto condition = UpdateCondition()) return *condition;
  if (state_ == State::Normal) {
    // Outside its loader the drive knows none of the flash commands.
    return VirtualDrive::Handle(cdb, direction, data);
  }
  // The loader needs no disc.
  if (opcode == kOpTestUnitReady) return DriveAnswer::Good();
  switch (opcode) {
    case kOpReadFlash:
      return ReadFlash(cdb, direction, data);
    case kOpAlternateRead:
      return AlternateRead(cdb, direction, data);
    case kOpLongBlock:
      if (!setup_.longBlockFormSupported) return Refuse(kAscInvalidOpcode);
      [[fallthrough]];
    case kOpShortBlock:
      return ReceiveBlock(cdb, direction, data);
    case kOpEndTransfer:
      return CloseTransfer(cdb);
    case kOpStartUpdate:
      return StartUpdate(cdb);
    default:
      return Refuse(kAscInvalidOpcode);
  }
}

DriveAnswer FlashDrive::RequestSense(std::span<const std::uint8_t> cdb,
                                     std::span<std::uint8_t> data) {
  if (cdb.size() != 6 || !OnlyUsedBytesSet(cdb, {4})) return Refuse(kAscInvalidField);
  const DriveAnswer condition = UpdateCondition().value_or(DriveAnswer::Check(0, 0, 0));
  std::array<std::uint8_t, 18> sense{};
  WriteFixedSense(sense, condition);
  const std::size_t n = std::min<std::size_t>({cdb[4], data.size(), sense.size()});
  std::copy_n(sense.begin(), n, data.begin());
  return DriveAnswer::Good(static_cast<std::uint32_t>(n));
}

void FlashDrive::CopyFlash(std::uint32_t address, std::span<std::uint8_t> data) const {
  const std::size_t n = std::min<std::size_t>(kReadLength, data.size());
  const std::size_t from = std::min<std::size_t>(address, setup_.flash.size());
  const std::size_t inChip = std::min(n, setup_.flash.size() - from);
  std::copy_n(setup_.flash.begin() + static_cast<std::ptrdiff_t>(from), inChip, data.begin());
  // Beyond the chip the bus floats high.
  std::fill(data.begin() + static_cast<std::ptrdiff_t>(inChip), data.begin() + n, 0xFF);
}

DriveAnswer FlashDrive::ReadFlash(std::span<const std::uint8_t> cdb, DataDirection direction,
                                  std::span<std::uint8_t> data) {
  if (!setup_.flashReadSupported) return Refuse(kAscInvalidOpcode);
  if (cdb.size() != 12 || direction != DataDirection::In ||
      !OnlyUsedBytesSet(cdb, {2, 3, 4, 5, 7, 8})) {
    return Refuse(kAscInvalidField);
  }
  if (BigEndian(cdb.subspan(7, 2)) != kReadLength || data.size() < kReadLength) {
    return Refuse(kAscInvalidField);
  }
  const std::uint32_t address = BigEndian(cdb.subspan(2, 4));
  if (address >= setup_.flash.size()) return Refuse(kAscAddressOutOfRange);
  CopyFlash(address, data);
  return DriveAnswer::Good(kReadLength);
}

// The older read: it takes no address and always returns the identification block.
DriveAnswer FlashDrive::AlternateRead(std::span<const std::uint8_t> cdb, DataDirection direction,
                                      std::span<std::uint8_t> data) {
  if (cdb.size() != 12 || direction != DataDirection::In || cdb[9] != kAlternateReadMark ||
      !OnlyUsedBytesSet(cdb, {9}) || data.size() < kReadLength) {
    return Refuse(kAscInvalidField);
  }
  CopyFlash(setup_.idBlockAddress, data);
  return DriveAnswer::Good(kReadLength);
}

DriveAnswer FlashDrive::ReceiveBlock(std::span<const std::uint8_t> cdb, DataDirection direction,
                                     std::span<const std::uint8_t> data) {
  const std::size_t expectedLength = cdb[0] == kOpLongBlock ? 12 : 10;
  if (cdb.size() != expectedLength || direction != DataDirection::Out ||
      !OnlyUsedBytesSet(cdb, {6, 7})) {
    return Refuse(kAscInvalidField);
  }
  if (state_ != State::Loader) return Refuse(kAscSequenceError);
  const std::uint32_t length = BigEndian(cdb.subspan(6, 2));
  if (length == 0 || length > data.size()) return Refuse(kAscInvalidField);
  if (image_.size() + length > setup_.flash.size()) return Refuse(kAscAddressOutOfRange);
  // Room for the whole image at the first block: a test runs thousands of transfers.
  if (image_.empty()) image_.reserve(setup_.flash.size());
  image_.insert(image_.end(), data.begin(), data.begin() + length);
  return DriveAnswer::Good(length);
}

DriveAnswer FlashDrive::CloseTransfer(std::span<const std::uint8_t> cdb) {
  if (cdb.size() != 10 || !OnlyUsedBytesSet(cdb, {3})) return Refuse(kAscInvalidField);
  if (std::ranges::find(setup_.acceptedEndSelectors, cdb[3]) == setup_.acceptedEndSelectors.end()) {
    return Refuse(kAscInvalidField);
  }
  // Only a whole image closes the transfer.
  if (state_ != State::Loader || image_.size() != setup_.flash.size()) {
    return Refuse(kAscSequenceError);
  }
  state_ = State::TransferClosed;
  return DriveAnswer::Good();
}

DriveAnswer FlashDrive::StartUpdate(std::span<const std::uint8_t> cdb) {
  if (cdb.size() != 10 || !OnlyUsedBytesSet(cdb, {9}) || !OptionByteValid(cdb[9])) {
    return Refuse(kAscInvalidField);
  }
  if (state_ != State::TransferClosed) return Refuse(kAscSequenceError);
  flashStarts_.push_back((cdb[9] & kLoaderBit) != 0);
  state_ = State::Updating;
  updateStart_ = clock_.NowMs();
  phase_ = 0;
  return DriveAnswer::Good();
}

}  // namespace zentor::platform::sim
