// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/sim/virtual_drive.h"

namespace zentor::platform::sim {

// The flash drive's commands beyond those of every drive, as its maker documents them.
inline constexpr std::uint8_t kOpRequestSense = 0x03;
inline constexpr std::uint8_t kOpAlternateRead = 0xA8;
inline constexpr std::uint8_t kOpLongBlock = 0xAA;
inline constexpr std::uint8_t kOpEndTransfer = 0xE0;
inline constexpr std::uint8_t kOpStartUpdate = 0xE1;
inline constexpr std::uint8_t kOpShortBlock = 0xE2;
inline constexpr std::uint8_t kOpReadFlash = 0xE3;
inline constexpr std::uint8_t kOpLoader = 0xE4;

// A drive whose firmware can be read and rewritten, modelled from the drive's side: its
// update loader, its flash with the identification block, the block reception, the end of
// the transfer, and the check, erase and write it runs by itself after the flash start,
// reporting each phase in its sense data. It knows nothing of the program's code; what it
// accepts and answers is its own rule book below.
class FlashDrive final : public VirtualDrive {
 public:
  struct Setup {
    Identity identity;                   // what INQUIRY reports before the loader runs
    std::string loaderProduct;           // INQUIRY product once the loader runs (16 characters)
    std::uint32_t idBlockAddress;        // where the identification block lies in flash
    std::vector<std::uint8_t> flash;     // 512 KiB or 1 MiB of current firmware
    bool flashReadSupported = true;      // false: only the alternate read works
    bool longBlockFormSupported = true;  // false: blocks only in the 10-byte form
    std::vector<int> acceptedEndSelectors = {0};
    // How long each phase (sum check, erase, write, final sum check) lasts.
    std::array<std::uint32_t, 4> phaseMs = {1200, 3000, 4500, 1200};
  };

  FlashDrive(Setup setup, Clock& clock);

  // How long the drive's maker documents a command block of this opcode, where that differs
  // from its group's usual length (the flash read is a 12-byte command although its opcode
  // lies in a 10-byte group); 0 for every other opcode.
  static std::size_t DocumentedCommandLength(std::uint8_t opcode);

  // The flash as it stands now (the update's phases run on the clock).
  const std::vector<std::uint8_t>& flash();
  // Bytes received since the loader started or the last transfer was closed.
  std::size_t receivedBytes() const { return image_.size(); }
  // The loader bit of every flash start the drive accepted, in order.
  const std::vector<bool>& flashStarts() const { return flashStarts_; }

 protected:
  DriveAnswer Handle(std::span<const std::uint8_t> cdb, DataDirection direction,
                     std::span<std::uint8_t> data) override;

 private:
  enum class State { Normal, Loader, TransferClosed, Updating, Finished };

  void CatchUp();
  std::optional<DriveAnswer> UpdateCondition();
  DriveAnswer RequestSense(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> data);
  DriveAnswer ReadFlash(std::span<const std::uint8_t> cdb, DataDirection direction,
                        std::span<std::uint8_t> data);
  DriveAnswer AlternateRead(std::span<const std::uint8_t> cdb, DataDirection direction,
                            std::span<std::uint8_t> data);
  DriveAnswer ReceiveBlock(std::span<const std::uint8_t> cdb, DataDirection direction,
                           std::span<const std::uint8_t> data);
  DriveAnswer CloseTransfer(std::span<const std::uint8_t> cdb);
  DriveAnswer StartUpdate(std::span<const std::uint8_t> cdb);
  void CopyFlash(std::uint32_t address, std::span<std::uint8_t> data) const;

  Setup setup_;
  Clock& clock_;
  State state_ = State::Normal;
  std::vector<std::uint8_t> image_;  // blocks received, in order
  std::uint64_t updateStart_ = 0;
  int phase_ = -1;  // the phase the update has reached; 4 when finished
  std::vector<bool> flashStarts_;
};

}  // namespace zentor::platform::sim
