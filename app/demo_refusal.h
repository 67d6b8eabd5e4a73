// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "app/demo_machine.h"

namespace zentor::app {

// A command every drive of the demo refuses from the start, so a failing update can be
// watched (and tested) from beginning to end without hardware.
enum class DemoRefusal {
  None,
  UpdateMode,  // switching to the update loader
  Block,       // every image block (either form)
  FlashStart,  // starting erase and program after the transfer
  InUse,       // not a command: another program holds every drive, so none can be claimed
};

inline constexpr std::string_view kDemoRefusalNames =
    "update-mode, block, flash-start or in-use";

std::optional<DemoRefusal> DemoRefusalNamed(std::string_view name);

// Makes the drives answer the refused command with CHECK CONDITION, ILLEGAL REQUEST,
// invalid field in CDB, every time; or, for InUse, marks them held by another program.
void RefuseOnDemoDrives(DemoRefusal refusal, const std::vector<DemoDrive>& drives);

}  // namespace zentor::app
