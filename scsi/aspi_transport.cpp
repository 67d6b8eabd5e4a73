// SPDX-License-Identifier: GPL-2.0-or-later
#include "scsi/aspi_transport.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace zentor::scsi {
namespace {

constexpr std::uint32_t kCompletionWaitMs = 5000;
constexpr std::uint8_t kAspiSenseLength = 16;

// The manager writes the status last, from its own thread.
std::uint8_t StatusOf(platform::AspiExecRequest& request) {
  return std::atomic_ref<std::uint8_t>(request.status).load(std::memory_order_acquire);
}

}  // namespace

struct AspiTransport::Submission {
  platform::AspiExecRequest request{};
  std::uint8_t data[kDataBufferSize]{};
  std::unique_ptr<platform::CompletionEvent> event;
  bool signalled = false;

  // The manager is done with a request once it has both written its status and signalled
  // its event: releasing the event earlier would let the signal reach whatever event is
  // made next in its place.
  bool Finished() {
    if (!signalled && event->Wait(0)) signalled = true;
    return signalled && StatusOf(request) != platform::kAspiPending;
  }
};

namespace {

// What the manager may still write into, or still run: kept until the program ends.
struct StillWithTheManager {
  std::vector<std::unique_ptr<void, void (*)(void*)>> items;
};

template <typename T>
void KeepUntilExit(std::unique_ptr<T> item) {
  static auto* kept = new StillWithTheManager;
  kept->items.emplace_back(item.release(), [](void* p) { delete static_cast<T*>(p); });
}

}  // namespace

AspiTransport::AspiTransport(std::unique_ptr<platform::AspiManager> manager,
                             platform::Platform& platform)
    : manager_(std::move(manager)), platform_(platform) {}

AspiTransport::~AspiTransport() {
  ReleaseFinished();
  if (outstanding_.empty()) return;
  // The manager may still complete these at any moment, so neither they nor the library
  // that runs the manager may go away before the program does.
  for (auto& submission : outstanding_)
    KeepUntilExit(std::move(submission));
  KeepUntilExit(std::move(manager_));
}

void AspiTransport::ReleaseFinished() {
  std::erase_if(outstanding_, [](const std::unique_ptr<Submission>& s) { return s->Finished(); });
}

int AspiTransport::SendAspi(ScsiRequest& request, std::uint32_t transferLength) {
  ReleaseFinished();
  auto event = platform_.CreateCompletionEvent();
  if (!event) return 0;

  platform::AspiExecRequest& master = request.aspi;
  master.flags = static_cast<std::uint8_t>(master.flags + platform::kAspiEventNotify);
  master.commandCode = platform::kAspiExecuteScsi;
  master.status = platform::kAspiPending;
  master.lun = 0;
  master.bufferPointer = request.dataBuffer;
  master.bufferLength = transferLength;
  master.senseLength = kAspiSenseLength;
  master.postProcedure = event->PostHandle();

  auto submission = spare_ ? std::move(spare_) : std::make_unique<Submission>();
  submission->request = master;
  submission->request.bufferPointer = submission->data;
  std::fill(std::begin(submission->request.senseArea), std::end(submission->request.senseArea), 0);
  std::copy_n(request.dataBuffer, transferLength, submission->data);
  submission->event = std::move(event);
  submission->signalled = false;

  manager_->SendASPI32Command(&submission->request);
  if (StatusOf(submission->request) == platform::kAspiPending) {
    if (!submission->event->Wait(kCompletionWaitMs)) {
      submission->event->Reset();
      outstanding_.push_back(std::move(submission));
      return 0;
    }
    submission->signalled = true;
    if (StatusOf(submission->request) == platform::kAspiPending) {
      // Signalled, yet still the manager's: a failure, and the block is not used again
      // until the manager has really finished with it.
      outstanding_.push_back(std::move(submission));
      request.lastAsc = 0;
      request.lastAscq = 0;
      return 0;
    }
  }
  submission->event.reset();

  const platform::AspiExecRequest& done = submission->request;
  master.status = done.status;
  request.lastAnswered =
      done.status == platform::kAspiDone || done.status == platform::kAspiDoneWithError;
  // A manager that can tell writes back the bytes really moved; one that cannot leaves the
  // length asked for.
  if (done.status == platform::kAspiDone) {
    request.lastTransferred = std::min(done.bufferLength, transferLength);
  }
  master.hostAdapterStatus = done.hostAdapterStatus;
  master.targetStatus = done.targetStatus;
  std::copy(std::begin(done.senseArea), std::end(done.senseArea), master.senseArea);
  if ((master.flags & platform::kAspiDirectionIn) != 0) {
    std::copy_n(submission->data, transferLength, request.dataBuffer);
  }
  spare_ = std::move(submission);

  request.lastAsc = 0;
  request.lastAscq = 0;
  if (master.status == platform::kAspiDoneWithError) {
    request.lastAsc = master.senseArea[12];
    request.lastAscq = master.senseArea[13];
    return 0;
  }
  return master.status == platform::kAspiDone ? 1 : 0;
}

}  // namespace zentor::scsi
