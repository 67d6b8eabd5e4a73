// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/sim/drive_answer.h"

namespace zentor::platform::sim {

enum class DataDirection { None, In, Out };

// One command as the drive received it, kept so tests can check what was really sent.
struct ReceivedCommand {
  std::vector<std::uint8_t> cdb;
  DataDirection direction = DataDirection::None;
  std::uint32_t transferLength = 0;
  std::vector<std::uint8_t> dataOut;  // what a data-out command carried
  DriveAnswer answer;                 // how the drive answered it (an injected fault included)
};

// An answer forced onto the next commands, instead of what the drive would do.
struct InjectedFault {
  std::optional<std::uint8_t> opcode;  // only commands with this opcode; any when empty
  DriveAnswer answer;
  int times = 1;  // how many commands it hits; negative: all of them
  int skip = 0;   // matching commands let through before it starts to hit
  // When set, answer is not used: the drive carries the command out as usual, but a data-in
  // answer stops after this many bytes, with good status (a short read).
  std::optional<std::uint32_t> moveAtMost = std::nullopt;
};

// The drive reads as usual but hands back only `bytes` of the data, with good status.
inline InjectedFault ShortRead(std::uint8_t opcode, std::uint32_t bytes, int skip = 0) {
  return {opcode, {}, 1, skip, bytes};
}

// Commands an operating system sends to every optical drive by itself: on open, on close and
// while it watches for discs.
inline constexpr std::uint8_t kOpPreventAllowRemoval = 0x1E;
inline constexpr std::uint8_t kOpReadCapacity = 0x25;
inline constexpr std::uint8_t kOpReadToc = 0x43;
inline constexpr std::uint8_t kOpGetEventStatus = 0x4A;
inline constexpr std::uint8_t kOpModeSense10 = 0x5A;

// A model of an optical drive as seen from the SCSI side. It answers on its own terms, from
// its own identity and state, and never borrows the program's code to do so: a test that
// passes against it has talked to something that behaves like a drive.
class VirtualDrive {
 public:
  struct Identity {
    std::string vendor = "VAREL   ";  // INQUIRY bytes 8..15
    std::string product;              // INQUIRY bytes 16..31
    std::string revision = "1.00";    // INQUIRY bytes 32..35
  };

  explicit VirtualDrive(Identity identity);
  virtual ~VirtualDrive() = default;

  // Carries out one command. Data-in commands write into data; data-out commands read it.
  DriveAnswer Execute(std::span<const std::uint8_t> cdb, DataDirection direction,
                      std::span<std::uint8_t> data);

  void InjectFault(InjectedFault fault) { faults_.push_back(fault); }

  // Whether received() keeps the bytes that data-out commands carried, a megabyte or more
  // per update. On unless switched off: the demo's drives, which serve update after update
  // for as long as the demo runs, keep only the commands.
  void KeepDataOut(bool keep) { keepDataOut_ = keep; }

  // A drive that cannot be opened: missing driver, held exclusively by another program.
  void SetOpenable(bool openable) { openable_ = openable; }
  bool openable() const { return openable_; }
  // Another program holds the drive: it still opens for the scan, but cannot be claimed.
  void SetHeldElsewhere(bool held) { heldElsewhere_ = held; }
  bool heldElsewhere() const { return heldElsewhere_; }

  // Replaces the standard INQUIRY data with these bytes, however short or odd.
  void SetInquiryData(std::vector<std::uint8_t> bytes) { inquiryOverride_ = std::move(bytes); }

  const Identity& identity() const { return identity_; }
  const std::vector<ReceivedCommand>& received() const { return received_; }

 protected:
  // The drive's own handling of a command that no fault intercepted. Later drive models
  // extend the command set here.
  virtual DriveAnswer Handle(std::span<const std::uint8_t> cdb, DataDirection direction,
                             std::span<std::uint8_t> data);
  // What INQUIRY reports as product from now on (a drive running its update loader
  // introduces itself as the loader).
  void ReportProduct(std::string product) { identity_.product = std::move(product); }

 private:
  DriveAnswer Answer(std::span<const std::uint8_t> cdb, DataDirection direction,
                     std::span<std::uint8_t> data);
  std::optional<InjectedFault> TakeFault(std::uint8_t opcode);
  DriveAnswer ShortAnswer(std::uint32_t moveAtMost, std::span<const std::uint8_t> cdb,
                          DataDirection direction, std::span<std::uint8_t> data);
  DriveAnswer Inquiry(std::span<const std::uint8_t> cdb, DataDirection direction,
                      std::span<std::uint8_t> data) const;
  DriveAnswer MediaEventStatus(std::span<const std::uint8_t> cdb,
                               std::span<std::uint8_t> data) const;
  DriveAnswer Capabilities(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> data) const;

  Identity identity_;
  bool openable_ = true;
  bool heldElsewhere_ = false;
  bool keepDataOut_ = true;
  std::optional<std::vector<std::uint8_t>> inquiryOverride_;
  std::vector<InjectedFault> faults_;
  std::vector<ReceivedCommand> received_;
};

}  // namespace zentor::platform::sim
