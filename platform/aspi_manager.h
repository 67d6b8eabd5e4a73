// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <memory>

#include "platform/aspi_request.h"

namespace zentor::platform {

// A loaded ASPI manager: its two entry points. Destroying it unloads the library.
class AspiManager {
 public:
  virtual ~AspiManager() = default;
  // Bits 0..7 the number of host adapters, bits 8..15 the manager's status (1 = ready).
  virtual std::uint32_t GetASPI32SupportInfo() = 0;
  // Submits the request; it belongs to the manager until its status leaves "pending".
  virtual std::uint32_t SendASPI32Command(AspiExecRequest* request) = 0;
};

struct AspiLoad {
  enum class Failure { None, LibraryNotFound, EntryPointMissing };
  std::unique_ptr<AspiManager> manager;  // set when failure is None
  Failure failure = Failure::None;
};

// The event an ASPI request names in its post-procedure field: auto-reset, created
// unsignalled, without a name. The manager signals it when the request completes.
class CompletionEvent {
 public:
  virtual ~CompletionEvent() = default;
  // The value that goes into the request's post-procedure field.
  virtual void* PostHandle() = 0;
  // True when the event was signalled within the time; a successful wait resets it.
  virtual bool Wait(std::uint32_t milliseconds) = 0;
  virtual void Reset() = 0;
};

}  // namespace zentor::platform
