// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/windows/native_pass_through.h"

#include <algorithm>
#include <cstring>

namespace zentor::platform::windows {
namespace {

// Where the fields of the 64-bit structure lie.
constexpr std::size_t kAtLength = 0;
constexpr std::size_t kAtScsiStatus = 2;
constexpr std::size_t kAtPathId = 3;
constexpr std::size_t kAtTargetId = 4;
constexpr std::size_t kAtLun = 5;
constexpr std::size_t kAtCdbLength = 6;
constexpr std::size_t kAtSenseInfoLength = 7;
constexpr std::size_t kAtDataIn = 8;
constexpr std::size_t kAtDataTransferLength = 12;
constexpr std::size_t kAtTimeOutValue = 16;
constexpr std::size_t kAtDataBufferOffset = 24;
constexpr std::size_t kAtSenseInfoOffset = 32;
constexpr std::size_t kAtCdb = 36;

template <typename Value>
void Put(std::vector<std::uint8_t>& buffer, std::size_t at, Value value) {
  std::memcpy(buffer.data() + at, &value, sizeof value);
}

template <typename Value>
Value Get(std::span<const std::uint8_t> buffer, std::size_t at) {
  Value value{};
  std::memcpy(&value, buffer.data() + at, sizeof value);
  return value;
}

}  // namespace

std::vector<std::uint8_t> BuildNativeRequest(const PassThroughView& request) {
  const PassThroughHeader& h = request.header;
  std::vector<std::uint8_t> native(kNativeDataOffset + request.data.size(), 0);
  Put<std::uint16_t>(native, kAtLength, kNativeHeaderSize);
  native[kAtScsiStatus] = h.scsiStatus;
  native[kAtPathId] = h.pathId;
  native[kAtTargetId] = h.targetId;
  native[kAtLun] = h.lun;
  native[kAtCdbLength] = h.cdbLength;
  native[kAtSenseInfoLength] =
      static_cast<std::uint8_t>(std::min<std::size_t>(request.sense.size(), kNativeSenseRoom));
  native[kAtDataIn] = h.dataIn;
  Put<std::uint32_t>(native, kAtDataTransferLength, static_cast<std::uint32_t>(request.data.size()));
  Put<std::uint32_t>(native, kAtTimeOutValue, h.timeOutValue);
  Put<std::uint64_t>(native, kAtDataBufferOffset, kNativeDataOffset);
  Put<std::uint32_t>(native, kAtSenseInfoOffset, kNativeSenseOffset);
  std::copy(std::begin(h.cdb), std::end(h.cdb), native.begin() + kAtCdb);
  std::ranges::copy(request.data, native.begin() + kNativeDataOffset);
  return native;
}

void CopyNativeOutcome(std::span<const std::uint8_t> native, std::span<std::uint8_t> request,
                       const PassThroughView& view) {
  const auto moved = std::min<std::size_t>(Get<std::uint32_t>(native, kAtDataTransferLength),
                                           view.data.size());
  const auto senseBytes = std::min<std::size_t>(native[kAtSenseInfoLength], view.sense.size());
  // The whole area: it went out cleared, so what the driver did not write reads as zero.
  std::fill(view.sense.begin(), view.sense.end(), 0);
  std::copy_n(native.begin() + kNativeSenseOffset, std::min(view.sense.size(), kNativeSenseRoom),
              view.sense.begin());
  if (view.header.dataIn == kDataIn) {
    std::copy_n(native.begin() + kNativeDataOffset, moved, view.data.begin());
  }
  StoreScsiStatus(request, native[kAtScsiStatus]);
  StoreTransferred(request, static_cast<std::uint32_t>(moved),
                   static_cast<std::uint8_t>(senseBytes));
}

}  // namespace zentor::platform::windows
