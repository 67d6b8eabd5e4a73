// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/sim/sim_aspi_manager.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <span>
#include <thread>

#include "platform/sim/fixed_sense.h"

namespace zentor::platform::sim {
namespace {

constexpr std::uint8_t kAspiInvalidCommand = 0x80;
constexpr std::uint8_t kDirectionBits = kAspiDirectionIn | kAspiDirectionOut;

DataDirection AspiDirectionOf(std::uint8_t flags) {
  switch (flags & kDirectionBits) {
    case kAspiDirectionIn:
      return DataDirection::In;
    case kAspiDirectionOut:
      return DataDirection::Out;
    default:
      return DataDirection::None;
  }
}

// The status is written last and published, so whoever sees it leave "pending" sees the
// rest of the outcome too.
void Publish(AspiExecRequest* request, std::uint8_t status) {
  std::atomic_ref<std::uint8_t>(request->status).store(status, std::memory_order_release);
}

}  // namespace

SimAspiManager::SimAspiManager(const SimBus& bus, Signal signal, Now now)
    : bus_(bus), signal_(std::move(signal)), now_(std::move(now)) {}

void SimAspiManager::SetCompletion(AspiCompletion completion) {
  std::lock_guard lock(mutex_);
  completion_ = completion;
}

void SimAspiManager::QueueCompletion(AspiCompletion completion) {
  std::lock_guard lock(mutex_);
  queued_.push_back(completion);
}

AspiCompletion SimAspiManager::TakeCompletion() {
  std::lock_guard lock(mutex_);
  if (queued_.empty()) return completion_;
  const AspiCompletion next = queued_.front();
  queued_.pop_front();
  return next;
}

std::uint32_t SimAspiManager::SendASPI32Command(AspiExecRequest* request) {
  {
    std::lock_guard lock(mutex_);
    submitted_.push_back(*request);
  }
  const AspiCompletion completion = TakeCompletion();
  switch (completion.when) {
    case AspiCompletion::When::Synchronous:
      Complete(request, completion.status);
      return request->status;
    case AspiCompletion::When::Never:
      return kAspiPending;
    case AspiCompletion::When::After:
    case AspiCompletion::When::Spurious:
      break;
  }
  const bool complete = completion.when == AspiCompletion::When::After;
  if (realTime_) {
    thread_.Post([this, request, completion, complete] {
      std::this_thread::sleep_for(std::chrono::milliseconds(completion.delayMs));
      if (!complete || Complete(request, completion.status)) signal_(request->postProcedure);
    });
  } else {
    std::lock_guard lock(mutex_);
    schedule_.push_back({now_() + completion.delayMs, request, completion.status, complete});
  }
  return kAspiPending;
}

std::optional<std::uint64_t> SimAspiManager::NextDue() const {
  std::lock_guard lock(mutex_);
  if (schedule_.empty()) return std::nullopt;
  return std::min_element(schedule_.begin(), schedule_.end(),
                          [](const Scheduled& a, const Scheduled& b) { return a.due < b.due; })
      ->due;
}

void SimAspiManager::CompleteDue(std::uint64_t now) {
  std::vector<Scheduled> due;
  {
    std::lock_guard lock(mutex_);
    // Stable, so requests due at the same moment complete in the order they came.
    auto firstLater = std::stable_partition(schedule_.begin(), schedule_.end(),
                                            [now](const Scheduled& s) { return s.due <= now; });
    due.assign(schedule_.begin(), firstLater);
    schedule_.erase(schedule_.begin(), firstLater);
  }
  std::stable_sort(due.begin(), due.end(),
                   [](const Scheduled& a, const Scheduled& b) { return a.due < b.due; });
  if (due.empty()) return;
  thread_.Run([this, &due] {
    for (const Scheduled& s : due) {
      if (!s.complete || Complete(s.request, s.status)) signal_(s.request->postProcedure);
    }
  });
}

bool SimAspiManager::Complete(AspiExecRequest* request, std::optional<std::uint8_t> status) {
  if (status) {
    Publish(request, *status);
    return true;
  }
  auto drive = bus_.DriveAt(request->hostAdapter, request->targetId);
  if (request->commandCode != kAspiExecuteScsi) {
    Publish(request, kAspiInvalidCommand);
    return true;
  }
  if (!drive || request->lun != 0) {
    Publish(request, kAspiNoDevice);
    return true;
  }
  const std::span<const std::uint8_t> cdb(request->cdb,
                                          std::min<std::size_t>(request->cdbLength, 16));
  const std::span<std::uint8_t> data(request->bufferPointer, request->bufferLength);
  const DriveAnswer answer = drive->Execute(cdb, AspiDirectionOf(request->flags), data);
  switch (answer.kind) {
    case DriveAnswer::Kind::NoAnswer:
      return false;
    case DriveAnswer::Kind::Good:
      request->targetStatus = answer.status;
      request->bufferLength = std::min(request->bufferLength, answer.dataLength);
      Publish(request, kAspiDone);
      return true;
    case DriveAnswer::Kind::CheckCondition:
      WriteFixedSense(
          std::span(request->senseArea, std::min<std::size_t>(request->senseLength, 16)), answer);
      [[fallthrough]];
    case DriveAnswer::Kind::OtherStatus:
      request->targetStatus = answer.status;
      Publish(request, kAspiDoneWithError);
      return true;
  }
  return false;
}

std::vector<AspiExecRequest> SimAspiManager::submitted() const {
  std::lock_guard lock(mutex_);
  return submitted_;
}

}  // namespace zentor::platform::sim
