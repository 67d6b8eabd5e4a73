#include "app/demo_refusal.h"

#include <array>
#include <cstdint>
#include <utility>

#include "platform/sim/drive_answer.h"

namespace zentor::app {
namespace {

// The drives' opcodes for the commands that can be refused.
constexpr std::uint8_t kLoaderOpcode = 0xE4;
constexpr std::uint8_t kShortBlockOpcode = 0xE2;
constexpr std::uint8_t kLongBlockOpcode = 0xAA;
constexpr std::uint8_t kStartUpdateOpcode = 0xE1;

constexpr std::array<std::pair<std::string_view, DemoRefusal>, 3> kNames = {{
    {"update-mode", DemoRefusal::UpdateMode},
    {"block", DemoRefusal::Block},
    {"flash-start", DemoRefusal::FlashStart},
}};

std::vector<std::uint8_t> OpcodesOf(DemoRefusal refusal) {
  switch (refusal) {
    case DemoRefusal::None:
      return {};
    case DemoRefusal::UpdateMode:
      return {kLoaderOpcode};
    case DemoRefusal::Block:
      return {kShortBlockOpcode, kLongBlockOpcode};
    case DemoRefusal::FlashStart:
      return {kStartUpdateOpcode};
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
    for (const std::uint8_t opcode : OpcodesOf(refusal)) {
      drive.drive->InjectFault({opcode,
                                DriveAnswer::Check(platform::sim::kSenseIllegalRequest,
                                                   platform::sim::kAscInvalidField, 0),
                                -1, 0});
    }
  }
}

}  // namespace zentor::app
