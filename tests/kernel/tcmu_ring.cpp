#include "tcmu_ring.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "tcmu_abi.h"

namespace zentor::kernel_tier {
namespace {

std::string ReadLine(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  return line;
}

// The uio device whose name carries "tcm-user/1/<backstore>/".
std::string UioDeviceOf(const std::string& backstoreName) {
  const std::string wanted = "tcm-user/1/" + backstoreName + "/";
  for (const auto& entry : std::filesystem::directory_iterator("/sys/class/uio")) {
    if (ReadLine(entry.path() / "name").find(wanted) != std::string::npos) {
      return entry.path().filename();
    }
  }
  throw std::runtime_error("no uio device for " + backstoreName);
}

// The kernel copies a command block by its opcode's group.
std::size_t GroupLength(std::uint8_t opcode) {
  switch (opcode >> 5) {
    case 0:
      return 6;
    case 1:
    case 2:
      return 10;
    case 4:
      return 16;
    case 5:
      return 12;
    default:
      return 10;
  }
}

}  // namespace

TcmuRing::TcmuRing(const std::string& backstoreName) {
  const std::string uio = UioDeviceOf(backstoreName);
  mapSize_ = std::stoul(ReadLine("/sys/class/uio/" + uio + "/maps/map0/size"), nullptr, 0);
  fd_ = ::open(("/dev/" + uio).c_str(), O_RDWR | O_CLOEXEC);
  if (fd_ < 0) throw std::runtime_error("cannot open /dev/" + uio);
  void* map = ::mmap(nullptr, mapSize_, PROT_READ | PROT_WRITE, MAP_SHARED, fd_, 0);
  if (map == MAP_FAILED) throw std::runtime_error("cannot map /dev/" + uio);
  map_ = static_cast<std::uint8_t*>(map);
}

TcmuRing::~TcmuRing() {
  if (map_) ::munmap(map_, mapSize_);
  if (fd_ >= 0) ::close(fd_);
}

void TcmuRing::ServeQueued(const Server& serve, const std::function<bool(std::uint8_t)>& dataOut) {
  std::uint32_t events = 0;
  if (::read(fd_, &events, sizeof events) != sizeof events) return;
  for (TcmuEntry entry = TcmuTailEntry(map_); entry.kind != 0; entry = TcmuTailEntry(map_)) {
    if (entry.kind == 2) {
      TcmuSkipTail(map_);
      continue;
    }
    // The answer overlays the request: everything is taken out of it first.
    RingCommand command;
    command.cdb.assign(entry.cdb, entry.cdb + GroupLength(entry.cdb[0]));
    const bool out = dataOut(command.cdb[0]);
    for (std::size_t i = 0; i < entry.iovecCount; ++i) {
      if (out) {
        command.data.insert(command.data.end(), entry.iovecBase[i],
                            entry.iovecBase[i] + entry.iovecLength[i]);
      } else {
        command.data.resize(command.data.size() + entry.iovecLength[i]);
      }
    }

    const RingAnswer answer = serve(command);

    const bool dataIn = !out && !command.data.empty();
    const std::uint32_t moved = answer.status == 0 ? answer.dataInLength : 0;
    if (dataIn) {
      std::size_t offset = 0;
      for (std::size_t i = 0; i < entry.iovecCount && offset < moved; ++i) {
        const std::size_t n = std::min<std::size_t>(entry.iovecLength[i], moved - offset);
        std::memcpy(entry.iovecBase[i], command.data.data() + offset, n);
        offset += entry.iovecLength[i];
      }
    }
    TcmuAnswerTail(map_, answer.status, answer.sense.data(), answer.sense.size(), dataIn ? 1 : 0,
                   moved);
    // Each answer is told at once, so one the drive holds back holds up no other.
    const std::uint32_t one = 1;
    if (::write(fd_, &one, sizeof one) != sizeof one) return;
  }
}

}  // namespace zentor::kernel_tier
