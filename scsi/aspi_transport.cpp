#include "scsi/aspi_transport.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace zentor::scsi {
namespace {

constexpr std::uint32_t kCompletionWaitMs = 5000;
constexpr std::uint8_t kSenseLength = 16;

// The manager writes the status last, from its own thread.
std::uint8_t StatusOf(platform::AspiExecRequest& request) {
  return std::atomic_ref<std::uint8_t>(request.status).load(std::memory_order_acquire);
}

}  // namespace

struct AspiTransport::Submission {
  platform::AspiExecRequest request{};
  std::uint8_t data[kDataBufferSize]{};
  std::unique_ptr<platform::CompletionEvent> event;

  bool Finished() {
    return StatusOf(request) != platform::kAspiPending || (event && event->Wait(0));
  }
};

AspiTransport::AspiTransport(std::unique_ptr<platform::AspiManager> manager,
                             platform::Platform& platform)
    : manager_(std::move(manager)), platform_(platform) {}

AspiTransport::~AspiTransport() {
  // Requests the manager still holds must outlive us: it may write into them at any time.
  // They are handed to a list that lives as long as the program.
  static auto* stillWithTheManager = new std::vector<std::unique_ptr<Submission>>;
  ReleaseFinished();
  for (auto& submission : outstanding_)
    stillWithTheManager->push_back(std::move(submission));
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
  master.senseLength = kSenseLength;
  master.postProcedure = event->PostHandle();

  auto submission = spare_ ? std::move(spare_) : std::make_unique<Submission>();
  submission->request = master;
  submission->request.bufferPointer = submission->data;
  std::fill(std::begin(submission->request.senseArea), std::end(submission->request.senseArea), 0);
  std::copy_n(request.dataBuffer, transferLength, submission->data);
  submission->event = std::move(event);

  manager_->SendASPI32Command(&submission->request);
  if (StatusOf(submission->request) == platform::kAspiPending &&
      !submission->event->Wait(kCompletionWaitMs)) {
    submission->event->Reset();
    outstanding_.push_back(std::move(submission));
    return 0;
  }
  submission->event.reset();

  const platform::AspiExecRequest& done = submission->request;
  master.status = done.status;
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
