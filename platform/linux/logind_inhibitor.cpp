// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/linux/logind_inhibitor.h"

#include <fcntl.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <cstring>

namespace zentor::platform::linux_os {
namespace {

// Everything that could cut a flash: suspend and hibernate, power-off and reboot, the
// desktop's idle action, and a closed lid.
constexpr const char* kWhat = "sleep:shutdown:idle:handle-lid-switch";

// logind answers at once; a bus that does not is treated as no bus.
constexpr std::uint64_t kCallTimeoutUs = 5'000'000;

class InhibitorFd final : public MachineHold {
 public:
  explicit InhibitorFd(int fd) : fd_(fd) {}
  ~InhibitorFd() override { ::close(fd_); }  // logind drops the inhibitor with the last copy
  InhibitorFd(const InhibitorFd&) = delete;
  InhibitorFd& operator=(const InhibitorFd&) = delete;

 private:
  int fd_;
};

struct BusDeleter {
  void operator()(sd_bus* bus) const { sd_bus_flush_close_unref(bus); }
};
struct MessageDeleter {
  void operator()(sd_bus_message* message) const { sd_bus_message_unref(message); }
};

// The inhibitor's descriptor, or -1 with what went wrong.
int TakeInhibitor(const std::string& who, std::string& failure) {
  sd_bus* rawBus = nullptr;
  int result = sd_bus_open_system(&rawBus);
  const std::unique_ptr<sd_bus, BusDeleter> bus(rawBus);
  if (result < 0) {
    failure = std::string("no system bus: ") + std::strerror(-result);
    return -1;
  }
  sd_bus_set_method_call_timeout(bus.get(), kCallTimeoutUs);
  sd_bus_error error = SD_BUS_ERROR_NULL;
  sd_bus_message* rawReply = nullptr;
  result = sd_bus_call_method(bus.get(), "org.freedesktop.login1", "/org/freedesktop/login1",
                              "org.freedesktop.login1.Manager", "Inhibit", &error, &rawReply,
                              "ssss", kWhat, who.c_str(), kKeepUpReason, "block");
  const std::unique_ptr<sd_bus_message, MessageDeleter> reply(rawReply);
  if (result < 0) {
    failure = std::string("logind: ") + (error.message ? error.message : std::strerror(-result));
    sd_bus_error_free(&error);
    return -1;
  }
  int fd = -1;
  result = sd_bus_message_read(reply.get(), "h", &fd);
  // The reply owns the descriptor it carries: keep a copy of our own.
  const int own = result < 0 ? -1 : ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
  if (own < 0) failure = "logind's answer held no inhibitor";
  return own;
}

}  // namespace

std::unique_ptr<MachineHold> LogindInhibitor::Hold(const std::string& who) {
  std::string failure;
  const int fd = TakeInhibitor(who, failure);
  if (fd >= 0) return std::make_unique<InhibitorFd>(fd);
  notice_.Tell(failure);
  return nullptr;
}

}  // namespace zentor::platform::linux_os
