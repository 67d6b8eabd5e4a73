// kernel_drive: one of the demo's virtual drives behind the kernel's TCMU backstore, so the
// real sr and sg drivers carry the program's commands to it; and the images the checks
// compare its flash with.
//
//   kernel_drive serve BACKSTORE MODEL RECORD_DIR [--phase-ms N] [--latency-ms N]
//                [--no-answer OPCODE:SKIP] [--hold-ms N] [--short-read OPCODE:SKIP:BYTES]
//                [--product TEXT]
//   kernel_drive update-image MODEL     the plain image of MODEL's update file, to stdout
//
// MODEL is 0..3, the demo's drives of families 5..8. The drive keeps its record in
// RECORD_DIR: "commands", a line per command as it arrives (milliseconds since start, the
// command block in hex, direction, data length, answer), "flash-before.bin" at start, and
// "flash.bin" when SIGUSR1 asks for it and when SIGTERM or SIGINT ends it. "ready" appears once the
// ring is served.

#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/demo_machine.h"
#include "platform/sim/fixed_sense.h"
#include "platform/sim/flash_drive.h"
#include "platform/steady_clock.h"
#include "tcmu_ring.h"

namespace {

using zentor::platform::sim::DataDirection;
using zentor::platform::sim::DriveAnswer;
using zentor::platform::sim::FlashDrive;
namespace sim = zentor::platform::sim;
namespace kt = zentor::kernel_tier;

struct ServeOptions {
  std::string backstore;
  std::size_t model = 0;
  std::string record;
  std::string product;  // another INQUIRY product than the model's
  int phaseMs = -1;
  int latencyMs = 0;
  int holdMs = 12000;
  std::vector<sim::InjectedFault> faults;
};

// "OPCODE:SKIP[:BYTES]", the opcode in hex.
std::optional<std::vector<unsigned long>> FaultFields(const std::string& value, std::size_t count) {
  std::vector<unsigned long> fields;
  std::size_t from = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t colon = value.find(':', from);
    if ((colon == std::string::npos) != (i + 1 == count)) return std::nullopt;
    fields.push_back(std::stoul(value.substr(from, colon - from), nullptr, i == 0 ? 16 : 10));
    from = colon + 1;
  }
  return fields;
}

bool IsDataOut(std::uint8_t opcode) {
  return opcode == sim::kOpLongBlock || opcode == sim::kOpShortBlock;
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::string Describe(const DriveAnswer& answer) {
  char text[32];
  switch (answer.kind) {
    case DriveAnswer::Kind::Good:
      std::snprintf(text, sizeof text, "good %u", answer.dataLength);
      break;
    case DriveAnswer::Kind::CheckCondition:
      std::snprintf(text, sizeof text, "check %02x/%02x/%02x", answer.senseKey, answer.asc,
                    answer.ascq);
      break;
    case DriveAnswer::Kind::OtherStatus:
      std::snprintf(text, sizeof text, "status %02x", answer.status);
      break;
    case DriveAnswer::Kind::NoAnswer:
      std::snprintf(text, sizeof text, "none");
      break;
  }
  return text;
}

class Server {
 public:
  Server(const ServeOptions& options, int signals)
      : options_(options),
        signals_(signals),
        drive_(MakeDrive(options), clock_),
        log_(options.record + "/commands", std::ios::app) {
    for (const sim::InjectedFault& fault : options.faults)
      drive_.InjectFault(fault);
    drive_.KeepDataOut(false);
    WriteFile(options.record + "/flash-before.bin", drive_.flash());
  }

  // Serves until a signal ends the drive; then leaves its flash in the record.
  void Run(kt::TcmuRing& ring) {
    std::ofstream(options_.record + "/ready").put('\n');
    while (!stopped_) {
      pollfd fds[] = {{ring.fd(), POLLIN, 0}, {signals_, POLLIN, 0}};
      if (::poll(fds, 2, -1) < 0) continue;
      if (fds[1].revents && !SnapshotAsked()) break;
      if (fds[0].revents & POLLIN) {
        ring.ServeQueued([this](kt::RingCommand& command) { return Serve(command); }, IsDataOut);
      }
    }
    WriteFile(options_.record + "/flash.bin", drive_.flash());
  }

 private:
  static FlashDrive::Setup MakeDrive(const ServeOptions& options) {
    FlashDrive::Setup setup = zentor::app::DemoDriveRecipes().at(options.model).setup;
    if (!options.product.empty()) setup.identity.product = options.product;
    if (options.phaseMs >= 0) setup.phaseMs.fill(static_cast<std::uint32_t>(options.phaseMs));
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

  kt::RingAnswer Serve(kt::RingCommand& command) {
    Wait(options_.latencyMs);
    // Bytes of a documented command block that the kernel did not copy arrive as zeros, as
    // on a bus whose command packets are always 12 bytes.
    command.cdb.resize(
        std::max(command.cdb.size(), FlashDrive::DocumentedCommandLength(command.cdb[0])));
    const DataDirection direction = command.data.empty()        ? DataDirection::None
                                    : IsDataOut(command.cdb[0]) ? DataDirection::Out
                                                                : DataDirection::In;
    const std::uint64_t arrived = clock_.NowMs();
    DriveAnswer answer = drive_.Execute(command.cdb, direction, command.data);
    Log(arrived, command, direction, answer);
    if (answer.kind == DriveAnswer::Kind::NoAnswer) {
      // The drive sits on the command until long after the kernel gave up on it.
      Wait(options_.holdMs);
      answer = DriveAnswer::Check(0x0B, 0x00, 0x00);
    }
    kt::RingAnswer ring;
    ring.status = answer.kind == DriveAnswer::Kind::Good ? 0x00 : answer.status;
    if (answer.kind == DriveAnswer::Kind::CheckCondition) {
      ring.sense.resize(18);
      sim::WriteFixedSense(ring.sense, answer);
    }
    ring.dataInLength = answer.kind == DriveAnswer::Kind::Good ? answer.dataLength : 0;
    return ring;
  }

  void Log(std::uint64_t ms, const kt::RingCommand& command, DataDirection direction,
           const DriveAnswer& answer) {
    std::string cdb;
    char hex[3];
    for (std::uint8_t byte : command.cdb) {
      std::snprintf(hex, sizeof hex, "%02x", byte);
      cdb += hex;
    }
    const char* way = direction == DataDirection::In    ? "in"
                      : direction == DataDirection::Out ? "out"
                                                        : "none";
    log_ << ms << ' ' << cdb << ' ' << way << ' ' << command.data.size() << ' ' << Describe(answer)
         << std::endl;
  }

  const ServeOptions& options_;
  int signals_;
  bool stopped_ = false;
  zentor::platform::SteadyClock clock_;
  FlashDrive drive_;
  std::ofstream log_;
};

int Usage() {
  std::cerr << "usage: kernel_drive serve BACKSTORE MODEL RECORD_DIR [--phase-ms N] "
               "[--latency-ms N] [--no-answer OPCODE:SKIP] [--hold-ms N]\n"
               "                    [--short-read OPCODE:SKIP:BYTES] [--product TEXT]\n"
               "       kernel_drive update-image MODEL\n";
  return 2;
}

int Serve(const std::vector<std::string>& args) {
  if (args.size() < 3) return Usage();
  ServeOptions options;
  options.backstore = args[0];
  options.model = std::stoul(args[1]);
  options.record = args[2];
  for (std::size_t i = 3; i + 1 < args.size(); i += 2) {
    const std::string& name = args[i];
    const std::string& value = args[i + 1];
    if (name == "--phase-ms") {
      options.phaseMs = std::stoi(value);
    } else if (name == "--latency-ms") {
      options.latencyMs = std::stoi(value);
    } else if (name == "--product") {
      options.product = value;
    } else if (name == "--hold-ms") {
      options.holdMs = std::stoi(value);
    } else if (name == "--no-answer" || name == "--short-read") {
      const bool noAnswer = name == "--no-answer";
      const auto fields = FaultFields(value, noAnswer ? 2 : 3);
      if (!fields) return Usage();
      const auto opcode = static_cast<std::uint8_t>((*fields)[0]);
      const int skip = static_cast<int>((*fields)[1]);
      options.faults.push_back(
          noAnswer ? sim::InjectedFault{opcode, DriveAnswer::None(), 1, skip}
                   : sim::ShortRead(opcode, static_cast<std::uint32_t>((*fields)[2]), skip));
    } else {
      return Usage();
    }
  }

  sigset_t mask;
  sigemptyset(&mask);
  sigaddset(&mask, SIGTERM);
  sigaddset(&mask, SIGINT);
  sigaddset(&mask, SIGUSR1);
  sigprocmask(SIG_BLOCK, &mask, nullptr);
  const int signals = ::signalfd(-1, &mask, SFD_CLOEXEC);

  kt::TcmuRing ring(options.backstore);
  Server server(options, signals);
  server.Run(ring);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage();
  try {
    if (args[0] == "serve") return Serve({args.begin() + 1, args.end()});
    if (args[0] == "update-image" && args.size() == 2) {
      const auto recipes = zentor::app::DemoDriveRecipes();
      const auto image = zentor::app::UpdateImageOfRow(recipes.at(std::stoul(args[1])).typeCodeRow);
      std::cout.write(reinterpret_cast<const char*>(image.data()),
                      static_cast<std::streamsize>(image.size()));
      return std::cout ? 0 : 1;
    }
  } catch (const std::exception& error) {
    std::cerr << "kernel_drive: " << error.what() << '\n';
    return 1;
  }
  return Usage();
}
