// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/sim/sim_bus.h"

#include <algorithm>

#include "platform/pass_through_request.h"
#include "platform/sim/fixed_sense.h"

namespace zentor::platform::sim {
namespace {

DataDirection PassThroughDirectionOf(std::uint8_t dataIn) {
  switch (dataIn) {
    case kDataIn:
      return DataDirection::In;
    case kDataOut:
      return DataDirection::Out;
    default:
      return DataDirection::None;
  }
}

}  // namespace

std::string SimBus::CdromName(int number) {
  return "\\\\.\\cdrom" + std::to_string(number);
}

std::string SimBus::DriveLetterName(char letter) {
  return std::string("\\\\.\\") + letter + ":";
}

void SimBus::Attach(const std::string& name, std::shared_ptr<VirtualDrive> drive) {
  drives_[name] = std::move(drive);
}

void SimBus::AttachAt(int hostAdapter, int targetId, std::shared_ptr<VirtualDrive> drive) {
  targets_[{hostAdapter, targetId}] = std::move(drive);
}

std::shared_ptr<VirtualDrive> SimBus::DriveAt(int hostAdapter, int targetId) const {
  const auto found = targets_.find({hostAdapter, targetId});
  return found == targets_.end() ? nullptr : found->second;
}

DeviceHandle SimBus::OpenDevice(const std::string& name) {
  openAttempts_.push_back(name);
  if (denied_.contains(name)) {
    if (std::ranges::find(refusals_.refusedNodes, name) == refusals_.refusedNodes.end()) {
      refusals_.refusedNodes.push_back(name);
    }
    return kNoDevice;
  }
  auto found = drives_.find(name);
  if (found == drives_.end() || !found->second->openable()) return kNoDevice;
  const DeviceHandle handle = nextHandle_++;
  open_[handle] = found->second;
  return handle;
}

DeviceClaim SimBus::ClaimDevice(const std::string& name) {
  const auto found = drives_.find(name);
  if (found != drives_.end() && found->second->heldElsewhere()) {
    openAttempts_.push_back(name);
    return {kNoDevice, DriveInUse{name, false}};
  }
  return {OpenDevice(name), std::nullopt};
}

bool SimBus::SendPassThrough(DeviceHandle device, std::span<std::uint8_t> request) {
  auto drive = open_.find(device);
  if (drive == open_.end()) {
    ++strayRequests_;
    return false;
  }
  auto view = ViewPassThrough(request);
  if (!view) return false;

  const DriveAnswer answer =
      drive->second->Execute(view->cdb, PassThroughDirectionOf(view->header.dataIn), view->data);
  switch (answer.kind) {
    case DriveAnswer::Kind::NoAnswer:
      return false;
    case DriveAnswer::Kind::CheckCondition:
      WriteFixedSense(view->sense, answer);
      StoreScsiStatus(request, kScsiStatusCheckCondition);
      StoreTransferred(request, 0, static_cast<std::uint8_t>(view->sense.size()));
      return true;
    case DriveAnswer::Kind::OtherStatus:
      StoreScsiStatus(request, answer.status);
      StoreTransferred(request, 0, 0);
      return true;
    case DriveAnswer::Kind::Good:
      break;
  }
  StoreScsiStatus(request, kScsiStatusGood);
  StoreTransferred(request, answer.dataLength, 0);
  return true;
}

void SimBus::CloseDevice(DeviceHandle device) {
  ++closeCount_;
  open_.erase(device);
}

}  // namespace zentor::platform::sim
