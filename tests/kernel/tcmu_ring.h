#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace zentor::kernel_tier {

// One SCSI command as the kernel's TCMU backstore hands it to user space.
struct RingCommand {
  std::vector<std::uint8_t> cdb;   // as many bytes as the kernel copied
  std::vector<std::uint8_t> data;  // data-out: what came; data-in: room for the answer
};

// What the drive made of it.
struct RingAnswer {
  std::uint8_t status = 0;          // SCSI status byte
  std::vector<std::uint8_t> sense;  // fixed-format sense with CHECK CONDITION
  std::uint32_t dataInLength = 0;   // bytes of data to hand back
};

// The command ring of one TCMU device (/dev/uioN), served in order: the kernel queues
// commands, the handler answers each and tells the kernel.
class TcmuRing {
 public:
  // Opens the uio device of the backstore user_1/NAME. Throws std::runtime_error.
  explicit TcmuRing(const std::string& backstoreName);
  ~TcmuRing();
  TcmuRing(const TcmuRing&) = delete;
  TcmuRing& operator=(const TcmuRing&) = delete;

  // The descriptor that becomes readable when the kernel queued commands.
  int fd() const { return fd_; }

  // Answers every queued command through serve and tells the kernel. dataOut says which
  // commands carry data to the drive (TCMU does not say).
  using Server = std::function<RingAnswer(RingCommand&)>;
  void ServeQueued(const Server& serve, const std::function<bool(std::uint8_t)>& dataOut);

 private:
  int fd_ = -1;
  std::uint8_t* map_ = nullptr;
  std::size_t mapSize_ = 0;
};

}  // namespace zentor::kernel_tier
