// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace zentor::platform {

// Why the machine is being kept up, as the system shows it to the user (a desktop's list of
// what blocks sleep and shutdown, Windows' log-off screen), in English and in Japanese.
inline constexpr const char* kKeepUpReason =
    "A drive's firmware is being rewritten. Cutting it off now can leave the drive unusable.";
inline constexpr const char* kKeepUpReasonJapanese =
    "ドライブのファームウェアを書き換えています。中断するとドライブが使えなくなることがあります。";

// Where a platform says, once, that it could not keep the machine up and why. Programs with
// no console leave it empty and stay silent.
using KeepUpNotice = std::function<void(const std::string& why)>;

// What a program brings to keeping the machine up: where it says that it could not, and
// whether it shows no window of its own during an update (a console program). Windows asks
// windows, not programs, whether a log-off or shutdown may go on: for a windowless program
// the hold puts up a hidden one to be asked.
// `reason` is the one Windows shows beside that window on its log-off screen.
struct KeepUpSetting {
  KeepUpNotice notice;
  bool windowless = false;
  const char* reason = kKeepUpReason;
};

// The notice given the first time only, however many updates find the machine not kept up.
class NoticeOnce {
 public:
  explicit NoticeOnce(KeepUpNotice notice) : notice_(std::move(notice)) {}
  void Tell(const std::string& why) {
    if (notice_ && !told_) notice_(why);
    told_ = true;
  }

 private:
  KeepUpNotice notice_;
  bool told_ = false;
};

// While it lives, the machine is kept from sleeping and from shutting down or logging off,
// as far as the system lets a program hold that off. Linux (logind) blocks every sleep, the
// lid's included, and shutdown. Windows keeps only idle sleep away: since Vista no program
// can refuse a user's Sleep, the lid or the power button; a log-off or shutdown is refused
// through a window the user can overrule.
class MachineHold {
 public:
  virtual ~MachineHold() = default;
};

// An update that is cut between the erase and the last written byte can leave a drive that
// no longer starts: the update holds the machine up from before the drive is claimed until
// it is let go of.
class MachineKeeper {
 public:
  virtual ~MachineKeeper() = default;
  // Nullptr where the system would not hold the machine; the update goes on regardless.
  virtual std::unique_ptr<MachineHold> KeepMachineUp() = 0;
};

}  // namespace zentor::platform
