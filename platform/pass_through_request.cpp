// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/pass_through_request.h"

#include <cstddef>
#include <cstring>

namespace zentor::platform {
namespace {

// True when [offset, offset + length) lies in the buffer behind the header.
bool AreaFits(std::uint64_t offset, std::uint64_t length, std::size_t bufferSize) {
  return offset >= sizeof(PassThroughHeader) && offset + length <= bufferSize;
}

}  // namespace

std::optional<PassThroughView> ViewPassThrough(std::span<std::uint8_t> request) {
  if (request.size() < sizeof(PassThroughHeader)) return std::nullopt;
  PassThroughView view{};
  std::memcpy(&view.header, request.data(), sizeof view.header);
  const PassThroughHeader& h = view.header;
  if (h.length != sizeof(PassThroughHeader)) return std::nullopt;
  if (h.cdbLength == 0 || h.cdbLength > sizeof h.cdb) return std::nullopt;
  if (h.dataIn != kDataIn && h.dataIn != kDataOut && h.dataIn != kDataUnspecified) {
    return std::nullopt;
  }
  if (!AreaFits(h.senseInfoOffset, h.senseInfoLength, request.size())) return std::nullopt;
  if (h.dataTransferLength > 0 &&
      !AreaFits(h.dataBufferOffset, h.dataTransferLength, request.size())) {
    return std::nullopt;
  }
  view.cdb = request.subspan(offsetof(PassThroughHeader, cdb), h.cdbLength);
  view.sense = request.subspan(h.senseInfoOffset, h.senseInfoLength);
  if (h.dataTransferLength > 0) {
    view.data = request.subspan(h.dataBufferOffset, h.dataTransferLength);
  }
  return view;
}

void StoreScsiStatus(std::span<std::uint8_t> request, std::uint8_t status) {
  request[offsetof(PassThroughHeader, scsiStatus)] = status;
}

void StoreTransferred(std::span<std::uint8_t> request, std::uint32_t dataBytes,
                      std::uint8_t senseBytes) {
  std::memcpy(request.data() + offsetof(PassThroughHeader, dataTransferLength), &dataBytes,
              sizeof dataBytes);
  request[offsetof(PassThroughHeader, senseInfoLength)] = senseBytes;
}

}  // namespace zentor::platform
