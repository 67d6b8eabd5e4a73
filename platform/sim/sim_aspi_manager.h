// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/aspi_manager.h"
#include "platform/sim/sim_bus.h"
#include "platform/sim/worker_thread.h"

namespace zentor::platform::sim {

// When and how the manager completes one request.
struct AspiCompletion {
  enum class When {
    Synchronous,  // inside SendASPI32Command, before it returns; no event is signalled
    After,        // from the manager's thread once delayMs have passed, then the event
    Never,        // the request stays pending for good
    Spurious,     // a faulty manager: signals the event after delayMs, never completes
  };
  When when = When::After;
  std::uint32_t delayMs = 0;
  // Completes with this status instead of asking the drive (an abort, say).
  std::optional<std::uint8_t> status;
};

// An ASPI manager over the virtual drives that a SimBus holds at (host adapter, target)
// addresses. Requests complete from the manager's own thread. On virtual time a request falls
// due when the platform's clock reaches it and CompleteDue runs; in real time the thread
// completes it by itself after its delay.
class SimAspiManager final : public AspiManager {
 public:
  using Signal = std::function<void(void* postHandle)>;
  using Now = std::function<std::uint64_t()>;

  SimAspiManager(const SimBus& bus, Signal signal, Now now);

  void SetSupportInfo(std::uint32_t value) { supportInfo_ = value; }
  // How every later command completes...
  void SetCompletion(AspiCompletion completion);
  // ...except the next ones, which take these first, in order.
  void QueueCompletion(AspiCompletion completion);
  void RunInRealTime() { realTime_ = true; }

  std::uint32_t GetASPI32SupportInfo() override { return supportInfo_; }
  std::uint32_t SendASPI32Command(AspiExecRequest* request) override;

  // Virtual time: the earliest due time of a pending request, and completing (on the
  // manager's thread) every request due by now.
  std::optional<std::uint64_t> NextDue() const;
  void CompleteDue(std::uint64_t now);

  // Copies of the requests as they were submitted.
  std::vector<AspiExecRequest> submitted() const;

 private:
  struct Scheduled {
    std::uint64_t due;
    AspiExecRequest* request;
    std::optional<std::uint8_t> status;
    bool complete = true;  // false: only signal the event
  };

  AspiCompletion TakeCompletion();
  // Runs the command on its drive and writes the outcome; false when the drive never
  // answers, so the request stays pending.
  bool Complete(AspiExecRequest* request, std::optional<std::uint8_t> status);

  const SimBus& bus_;
  Signal signal_;
  Now now_;
  std::uint32_t supportInfo_ = 0x0101;
  bool realTime_ = false;

  mutable std::mutex mutex_;
  AspiCompletion completion_;
  std::deque<AspiCompletion> queued_;
  std::vector<Scheduled> schedule_;
  std::vector<AspiExecRequest> submitted_;
  WorkerThread thread_;
};

}  // namespace zentor::platform::sim
