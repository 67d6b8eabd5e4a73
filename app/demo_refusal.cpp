// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/demo_refusal.h"

#include <array>
#include <cstdint>
#include <utility>

#include "platform/sim/drive_answer.h"
#include "platform/sim/flash_drive.h"

namespace zentor::app {
namespace {

constexpr std::array<std::pair<std::string_view, DemoRefusal>, 4> kNames = {{
    {"update-mode", DemoRefusal::UpdateMode},
    {"block", DemoRefusal::Block},
    {"flash-start", DemoRefusal::FlashStart},
    {"in-use", DemoRefusal::InUse},
}};

std::vector<std::uint8_t> OpcodesOf(DemoRefusal refusal) {
  switch (refusal) {
    case DemoRefusal::None:
    case DemoRefusal::InUse:
      return {};
    case DemoRefusal::UpdateMode:
      return {platform::sim::kOpLoader};
    case DemoRefusal::Block:
      return {platform::sim::kOpShortBlock, platform::sim::kOpLongBlock};
    case DemoRefusal::FlashStart:
      return {platform::sim::kOpStartUpdate};
  }
  return {};
}

}  // namespace

std::optional<DemoRefusal> DemoRefusalNamed(std::string_view name) {
  for (const auto& [text, refusal] : kNames) {
    if (name == text) return refusal;
  }
  return std::nullopt;
}

void RefuseOnDemoDrives(DemoRefusal refusal, const std::vector<DemoDrive>& drives) {
  using platform::sim::DriveAnswer;
  for (const DemoDrive& drive : drives) {
    drive.drive->SetHeldElsewhere(refusal == DemoRefusal::InUse);
    for (const std::uint8_t opcode : OpcodesOf(refusal)) {
      drive.drive->InjectFault({opcode,
                                DriveAnswer::Check(platform::sim::kSenseIllegalRequest,
                                                   platform::sim::kAscInvalidField, 0),
                                -1, 0});
    }
  }
}

}  // namespace zentor::app
