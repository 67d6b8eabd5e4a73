// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/linux/logind_inhibitor.h"

#include <fcntl.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace zentor::platform::linux_os {
namespace {

// Everything that could cut a flash: suspend and hibernate, power-off and reboot, the
// desktop's idle action, and a closed lid. Each is asked for on its own: polkit may allow
// one and refuse another (a remote user may block idling but not shutdown), and what is
// allowed is worth holding.
constexpr const char* kBlocks[] = {"sleep", "shutdown", "idle", "handle-lid-switch"};

// logind answers at once; a bus that does not is treated as no bus, and is not asked again
// for the other blocks (four waits would hold the update up for twenty seconds).
constexpr std::uint64_t kCallTimeoutUs = 5'000'000;
constexpr int kNoAnswer = -2;

// logind keeps each inhibitor for as long as a copy of its descriptor stays open.
class InhibitorFds final : public MachineHold {
 public:
  explicit InhibitorFds(std::vector<int> fds) : fds_(std::move(fds)) {}
  ~InhibitorFds() override {
    for (const int fd : fds_)
      ::close(fd);
  }
  InhibitorFds(const InhibitorFds&) = delete;
  InhibitorFds& operator=(const InhibitorFds&) = delete;

 private:
  std::vector<int> fds_;
};

struct BusDeleter {
  void operator()(sd_bus* bus) const { sd_bus_flush_close_unref(bus); }
};
struct MessageDeleter {
  void operator()(sd_bus_message* message) const { sd_bus_message_unref(message); }
};

// The descriptor of an inhibitor of `what`, or -1 with what went wrong.
int TakeInhibitor(sd_bus* bus, const char* what, const std::string& who, std::string& failure) {
  sd_bus_error error = SD_BUS_ERROR_NULL;
  sd_bus_message* rawReply = nullptr;
  int result = sd_bus_call_method(bus, "org.freedesktop.login1", "/org/freedesktop/login1",
                                  "org.freedesktop.login1.Manager", "Inhibit", &error, &rawReply,
                                  "ssss", what, who.c_str(), kKeepUpReason, "block");
  const std::unique_ptr<sd_bus_message, MessageDeleter> reply(rawReply);
  if (result < 0) {
    failure = error.message ? error.message : std::strerror(-result);
    sd_bus_error_free(&error);
    return result == -ETIMEDOUT ? kNoAnswer : -1;
  }
  int fd = -1;
  result = sd_bus_message_read(reply.get(), "h", &fd);
  // The reply owns the descriptor it carries: keep a copy of our own.
  const int own = result < 0 ? -1 : ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
  if (own < 0) failure = "the answer held no inhibitor";
  return own;
}

}  // namespace

std::unique_ptr<MachineHold> LogindInhibitor::Hold(const std::string& who) {
  sd_bus* rawBus = nullptr;
  const int opened = sd_bus_open_system(&rawBus);
  const std::unique_ptr<sd_bus, BusDeleter> bus(rawBus);
  if (opened < 0) {
    notice_.Tell(std::string("no system bus: ") + std::strerror(-opened));
    return nullptr;
  }
  sd_bus_set_method_call_timeout(bus.get(), kCallTimeoutUs);
  std::vector<int> held;
  std::string refused;
  bool answering = true;
  for (const char* what : kBlocks) {
    std::string failure = "not asked, the bus gave no answer";
    const int fd = answering ? TakeInhibitor(bus.get(), what, who, failure) : -1;
    answering = answering && fd != kNoAnswer;
    if (fd >= 0) {
      held.push_back(fd);
    } else {
      refused += (refused.empty() ? "logind would not block " : "; ") + std::string(what) +
                 ": " + failure;
    }
  }
  if (!refused.empty()) notice_.Tell(refused);
  if (held.empty()) return nullptr;
  return std::make_unique<InhibitorFds>(std::move(held));
}

}  // namespace zentor::platform::linux_os
