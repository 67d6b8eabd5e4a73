// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/platform.h"
#include "scsi/scsi_request.h"

namespace zentor::scsi {

// The ASPI back end. Each command is submitted to the manager in a request block and data
// buffer of its own and waited for at most 5 seconds. A request that does not complete in
// time still belongs to the manager, which may complete it at any later moment; its block
// is set aside and only released once the manager has finished with it, so a late
// completion can never write into the command block or a later command's data.
class AspiTransport {
 public:
  AspiTransport(std::unique_ptr<platform::AspiManager> manager, platform::Platform& platform);
  ~AspiTransport();
  AspiTransport(const AspiTransport&) = delete;
  AspiTransport& operator=(const AspiTransport&) = delete;

  // 1 for a request completed without error; 0 otherwise, with lastAsc/lastAscq from the
  // sense data when the request completed with error, cleared for any other completion, and
  // left as the previous command left them when it timed out or no event could be made.
  int SendAspi(ScsiRequest& request, std::uint32_t transferLength);

  // Timed-out requests the manager has not finished yet.
  std::size_t outstandingCount() const { return outstanding_.size(); }

 private:
  struct Submission;

  void ReleaseFinished();

  std::unique_ptr<platform::AspiManager> manager_;
  platform::Platform& platform_;
  std::unique_ptr<Submission> spare_;
  std::vector<std::unique_ptr<Submission>> outstanding_;
};

}  // namespace zentor::scsi
