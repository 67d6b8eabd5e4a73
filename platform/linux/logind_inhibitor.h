// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <memory>
#include <string>

#include "platform/machine_keeper.h"

namespace zentor::platform::linux_os {

// Keeps the machine up through logind: a "block" inhibitor of sleep, shutdown, idle and the
// lid switch (which ignores a plain sleep inhibitor by default), taken on the system bus and
// held for as long as its file descriptor stays open.
class LogindInhibitor {
 public:
  explicit LogindInhibitor(KeepUpNotice notice) : notice_(std::move(notice)) {}

  // `who` is the program's name as logind lists it. Nullptr without a system bus or logind,
  // or when logind refuses; the notice is then given, the first time only.
  std::unique_ptr<MachineHold> Hold(const std::string& who);

 private:
  NoticeOnce notice_;
};

}  // namespace zentor::platform::linux_os
