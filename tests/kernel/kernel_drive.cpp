// SPDX-License-Identifier: GPL-2.0-or-later
// kernel_drive: one of the demo's virtual drives behind the kernel's TCMU backstore, so the
// real sr and sg drivers carry the program's commands to it.
//
//   kernel_drive BACKSTORE MODEL RECORD_DIR [--latency-ms N] [--product TEXT]
//                [--fault OPCODE:SKIP[:BYTES|:refuse]]...
//
// MODEL is 0..3, the demo's drives of families 5..8. A fault strikes the command with that
// opcode (hex) after SKIP of them went through: with BYTES, a read that stops short with
// good status; with "refuse", CHECK CONDITION (illegal request, 24/00); without, a command
// held unanswered until long after the kernel gave up on it. The drive keeps its record in RECORD_DIR: "commands", a line per command as it
// arrives (milliseconds, the command block in hex, the answer); at start "flash-before.bin" and
// "image.bin" (the plain image of the model's update file); "flash.bin" when SIGUSR1 asks for it
// and when SIGTERM or SIGINT ends it. "ready" appears once the ring is served.

#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/demo_machine.h"
#include "platform/sim/fixed_sense.h"
#include "platform/sim/flash_drive.h"
#include "platform/steady_clock.h"
#include "tcmu_abi.h"

namespace {

namespace sim = zentor::platform::sim;
using sim::DataDirection;
using sim::DriveAnswer;

// The phases of an update take 1.2 s here instead of ten; the program's polling is the same.
constexpr std::uint32_t kPhaseMs = 300;
// How long a command that gets no answer is held: longer than the kernel waits for it.
constexpr int kHoldMs = 10000;

struct Options {
  std::string backstore;
  std::size_t model = 0;
  std::string record;
  std::string product;  // another INQUIRY product than the model's
  int latencyMs = 0;
  std::vector<sim::InjectedFault> faults;
};

sim::InjectedFault ParseFault(const std::string& value) {
  unsigned opcode = 0, bytes = 0;
  int skip = 0;
  const int fields = std::sscanf(value.c_str(), "%x:%d:%u", &opcode, &skip, &bytes);
  if (fields < 2) throw std::invalid_argument("--fault takes OPCODE:SKIP[:BYTES], not " + value);
  const auto op = static_cast<std::uint8_t>(opcode);
  if (value.ends_with(":refuse")) {
    return {op, DriveAnswer::Check(sim::kSenseIllegalRequest, 0x24, 0x00), 1, skip};
  }
  return fields == 3 ? sim::ShortRead(op, bytes, skip)
                     : sim::InjectedFault{op, DriveAnswer::None(), 1, skip};
}

std::string ReadLine(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  return line;
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// TCMU does not say which commands carry data to the drive.
bool IsDataOut(std::uint8_t opcode) {
  return opcode == sim::kOpLongBlock || opcode == sim::kOpShortBlock;
}

// The kernel copies a command block by its opcode's group.
std::size_t GroupLength(std::uint8_t opcode) {
  static constexpr std::size_t kLengths[] = {6, 10, 10, 10, 16, 12, 10, 10};
  return kLengths[opcode >> 5];
}

// The command ring of the backstore user_1/NAME: the uio device whose name carries
// "tcm-user/1/NAME/", mapped.
struct Ring {
  int fd;
  std::uint8_t* map;
};
Ring OpenRing(const std::string& backstore) {
  for (const auto& uio : std::filesystem::directory_iterator("/sys/class/uio")) {
    if (ReadLine(uio.path() / "name").find("tcm-user/1/" + backstore + "/") == std::string::npos)
      continue;
    const std::size_t size = std::stoul(ReadLine(uio.path() / "maps/map0/size"), nullptr, 0);
    const std::string node = "/dev/" + uio.path().filename().string();
    const int fd = ::open(node.c_str(), O_RDWR | O_CLOEXEC);
    void* map =
        fd < 0 ? MAP_FAILED : ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (map == MAP_FAILED) throw std::runtime_error("cannot map " + node);
    return {fd, static_cast<std::uint8_t*>(map)};
  }
  throw std::runtime_error("no uio device for " + backstore);
}

class Server {
 public:
  Server(const Options& options, int signals)
      : options_(options),
        signals_(signals),
        recipe_(zentor::app::DemoDriveRecipes().at(options.model)),
        drive_(MakeDrive(recipe_, options), clock_),
        log_(options.record + "/commands", std::ios::app) {
    for (const sim::InjectedFault& fault : options.faults)
      drive_.InjectFault(fault);
    drive_.KeepDataOut(false);
    WriteFile(options.record + "/flash-before.bin", drive_.flash());
    WriteFile(options.record + "/image.bin", zentor::app::UpdateImageOfRow(recipe_.typeCodeRow));
  }

  // Serves until a signal ends the drive; then leaves its flash in the record.
  void Run(Ring ring) {
    std::ofstream(options_.record + "/ready").put('\n');
    while (!stopped_) {
      pollfd fds[] = {{ring.fd, POLLIN, 0}, {signals_, POLLIN, 0}};
      if (::poll(fds, 2, -1) < 0) continue;
      if (fds[1].revents && !SnapshotAsked()) break;
      if (fds[0].revents & POLLIN) ServeQueued(ring);
    }
    WriteFile(options_.record + "/flash.bin", drive_.flash());
  }

 private:
  static sim::FlashDrive::Setup MakeDrive(const zentor::app::DemoDriveRecipe& recipe,
                                          const Options& options) {
    sim::FlashDrive::Setup setup = recipe.setup;
    if (!options.product.empty()) setup.identity.product = options.product;
    setup.phaseMs.fill(kPhaseMs);
    return setup;
  }

  // Takes the pending signal: true for a snapshot of the flash (done), false for the end.
  bool SnapshotAsked() {
    signalfd_siginfo info{};
    if (::read(signals_, &info, sizeof info) != sizeof info) return true;
    if (info.ssi_signo != SIGUSR1) return false;
    WriteFile(options_.record + "/flash.bin", drive_.flash());
    return true;
  }

  // Waits, but a signal to end the drive cuts the wait short.
  void Wait(int ms) {
    pollfd fd{signals_, POLLIN, 0};
    const std::uint64_t until = clock_.NowMs() + static_cast<std::uint64_t>(std::max(ms, 0));
    for (std::uint64_t now = clock_.NowMs(); now < until && !stopped_; now = clock_.NowMs()) {
      if (::poll(&fd, 1, static_cast<int>(until - now)) > 0 && !SnapshotAsked()) stopped_ = true;
    }
  }

  // Answers every queued command, telling the kernel each answer at once, so that one the
  // drive holds back holds up no other.
  void ServeQueued(Ring ring) {
    std::uint32_t events = 0;
    if (::read(ring.fd, &events, sizeof events) != sizeof events) return;
    for (TcmuEntry e = TcmuTailEntry(ring.map); e.kind != 0; e = TcmuTailEntry(ring.map)) {
      if (e.kind == 2) {
        TcmuSkipTail(ring.map);
        continue;
      }
      // The answer overlays the request: everything is taken out of it first. Bytes of a
      // documented command block that the kernel did not copy arrive as zeros, as on a bus
      // whose command packets are always 12 bytes.
      std::vector<std::uint8_t> cdb(e.cdb, e.cdb + GroupLength(e.cdb[0]));
      cdb.resize(std::max(cdb.size(), sim::FlashDrive::DocumentedCommandLength(cdb[0])));
      const bool out = IsDataOut(cdb[0]);
      std::vector<std::uint8_t> data;
      for (std::size_t i = 0; i < e.iovecCount; ++i) {
        if (out) {
          data.insert(data.end(), e.iovecBase[i], e.iovecBase[i] + e.iovecLength[i]);
        } else {
          data.resize(data.size() + e.iovecLength[i]);
        }
      }
      const DataDirection direction = data.empty() ? DataDirection::None
                                      : out        ? DataDirection::Out
                                                   : DataDirection::In;
      Wait(options_.latencyMs);
      const std::uint64_t arrived = clock_.NowMs();
      DriveAnswer answer = drive_.Execute(cdb, direction, data);
      Log(arrived, cdb, answer);
      if (answer.kind == DriveAnswer::Kind::NoAnswer) {
        Wait(kHoldMs);
        answer = DriveAnswer::Check(0x0B, 0x00, 0x00);
      }
      const bool good = answer.kind == DriveAnswer::Kind::Good;
      const std::size_t moved = good && direction == DataDirection::In ? answer.dataLength : 0;
      for (std::size_t i = 0, at = 0; i < e.iovecCount && at < moved; at += e.iovecLength[i++])
        std::memcpy(e.iovecBase[i], data.data() + at, std::min(e.iovecLength[i], moved - at));
      std::uint8_t sense[18] = {};
      const bool check = answer.kind == DriveAnswer::Kind::CheckCondition;
      if (check) sim::WriteFixedSense(sense, answer);
      TcmuAnswerTail(ring.map, good ? 0x00 : answer.status, sense, check ? sizeof sense : 0,
                     direction == DataDirection::In, static_cast<std::uint32_t>(moved));
      const std::uint32_t one = 1;
      if (::write(ring.fd, &one, sizeof one) != sizeof one) return;
    }
  }

  void Log(std::uint64_t ms, const std::vector<std::uint8_t>& cdb, const DriveAnswer& answer) {
    char text[32] = "none";
    if (answer.kind == DriveAnswer::Kind::Good) {
      std::snprintf(text, sizeof text, "good %u", answer.dataLength);
    } else if (answer.kind == DriveAnswer::Kind::CheckCondition) {
      std::snprintf(text, sizeof text, "check %02x/%02x/%02x", answer.senseKey, answer.asc,
                    answer.ascq);
    } else if (answer.kind == DriveAnswer::Kind::OtherStatus) {
      std::snprintf(text, sizeof text, "status %02x", answer.status);
    }
    log_ << ms << ' ';
    for (std::uint8_t byte : cdb) {
      char hex[3];
      std::snprintf(hex, sizeof hex, "%02x", byte);
      log_ << hex;
    }
    log_ << ' ' << text << std::endl;
  }

  const Options& options_;
  int signals_;
  bool stopped_ = false;
  zentor::platform::SteadyClock clock_;
  const zentor::app::DemoDriveRecipe recipe_;
  sim::FlashDrive drive_;
  std::ofstream log_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4 || argc % 2 != 0) {
    std::cerr << "usage: kernel_drive BACKSTORE MODEL RECORD_DIR [--latency-ms N] "
                 "[--product TEXT] [--fault OPCODE:SKIP[:BYTES|:refuse]]...\n";
    return 2;
  }
  try {
    Options options;
    options.backstore = argv[1];
    options.model = std::stoul(argv[2]);
    options.record = argv[3];
    for (int i = 4; i < argc; i += 2) {
      const std::string name = argv[i], value = argv[i + 1];
      if (name == "--latency-ms") {
        options.latencyMs = std::stoi(value);
      } else if (name == "--product") {
        options.product = value;
      } else if (name == "--fault") {
        options.faults.push_back(ParseFault(value));
      } else {
        throw std::invalid_argument("unknown option " + name);
      }
    }
    sigset_t mask;
    sigemptyset(&mask);
    for (int signal : {SIGTERM, SIGINT, SIGUSR1})
      sigaddset(&mask, signal);
    sigprocmask(SIG_BLOCK, &mask, nullptr);
    const int signals = ::signalfd(-1, &mask, SFD_CLOEXEC);
    const Ring ring = OpenRing(options.backstore);
    Server(options, signals).Run(ring);
    return 0;
  } catch (const std::exception& error) {
    std::cerr << "kernel_drive: " << error.what() << '\n';
    return 1;
  }
}
