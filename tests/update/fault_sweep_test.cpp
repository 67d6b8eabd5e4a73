// SPDX-License-Identifier: GPL-2.0-or-later
// Every command of a whole update, failed in turn in every way a drive can fail it. Whatever
// goes wrong, the program must not claim a success the drive does not hold, must not start
// the flash on an incomplete transfer, must not write to a drive whose backup failed, and
// must let go of the drive at the end.
#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <mutex>
#include <new>
#include <optional>
#include <set>
#include <utility>

#include "tests/update/update_rig.h"
#include "update/wizard_step.h"

#ifdef _WIN32
// The sweep makes and drops megabytes per run, thousands of times, and Windows' heap (Wine's
// here) hands freed memory back to the system: under Wine the sweep took 51 s against 1.6 s
// on Linux, mostly faulting pages in again. Freed blocks of 4 KiB and more are kept, by
// size, for the next request of their size, as glibc is told to below.
namespace {
constexpr std::size_t kKeptFrom = 4096;
std::mutex keptLock;
std::array<std::pair<std::size_t, void*>, 64> kept{};  // a size, a list through its blocks

void GiveBack(void* block) noexcept {
  const std::size_t size = block ? _msize(block) : 0;
  const std::lock_guard lock(keptLock);
  for (auto& [keptSize, first] : kept) {
    if (size < kKeptFrom || (keptSize != size && keptSize != 0)) continue;
    keptSize = size;
    *static_cast<void**>(block) = std::exchange(first, block);
    return;
  }
  std::free(block);
}
}  // namespace

void* operator new(std::size_t size) {
  if (size >= kKeptFrom) {
    const std::lock_guard lock(keptLock);
    for (auto& [keptSize, first] : kept)
      if (keptSize == size && first) return std::exchange(first, *static_cast<void**>(first));
  }
  if (void* block = std::malloc(size ? size : 1)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept {
  GiveBack(block);
}
void operator delete(void* block, std::size_t) noexcept {
  GiveBack(block);
}
#endif

namespace zentor::update {
namespace {

using platform::sim::AspiCompletion;
using platform::sim::DriveAnswer;
using platform::sim::kSenseIllegalRequest;
using platform::sim::kSenseNotReady;
using platform::sim::ReceivedCommand;
using scsi::TransportKind;
using namespace test_support;  // the rig, drives of a row, opcodes

// How one command goes wrong. Without an answer: on ASPI the manager completes the request
// only after the program has stopped waiting for it, so the drive still carries it out, late.
struct FailureWay {
  const char* name;
  std::optional<DriveAnswer> answer;
};

const FailureWay kFailureWays[] = {
    {"not ready, becoming ready (04/01)", DriveAnswer::Check(kSenseNotReady, 0x04, 0x01)},
    {"invalid opcode (20)", DriveAnswer::Check(kSenseIllegalRequest, 0x20, 0x00)},
    {"no medium (3A)", DriveAnswer::Check(kSenseNotReady, 0x3A, 0x00)},
    {"update phase erasing (F7/01)", DriveAnswer::Check(kSenseNotReady, 0xF7, 0x01)},
    {"busy status", DriveAnswer::Status(0x08)},
    {"no answer", DriveAnswer::None()},
    {"late completion", std::nullopt},
};

// The sweep makes and drops a few megabytes per run, thousands of times: keep freed memory in
// the process rather than handing it back to the kernel and faulting it in again each run
// (glibc's allocator; others keep their own habits).
#ifdef M_MMAP_THRESHOLD
const bool kMemoryKept =
    mallopt(M_MMAP_THRESHOLD, 64 << 20) && mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif

// Past the program's 5 s wait for a completion.
constexpr std::uint32_t kLateMs = 6000;

bool IsWrite(std::uint8_t opcode) {
  return opcode == kOpLongBlock || opcode == kOpShortBlock || opcode == kOpEndTransfer ||
         opcode == kOpStartUpdate;
}

bool Accepted(const ReceivedCommand& command) {
  return command.answer.kind == DriveAnswer::Kind::Good;
}

// A flash start reached the drive only after it had accepted, in order, blocks that make up
// exactly the image and then the end of the transfer.
testing::AssertionResult StartFollowsCompleteTransfer(const std::vector<ReceivedCommand>& log,
                                                      const std::vector<std::uint8_t>& image) {
  // How many bytes the accepted blocks hold, and whether they are all the image's so far
  // (compared in place: the sweep checks thousands of runs).
  std::size_t accepted = 0;
  bool imageSoFar = true;
  bool closed = false;
  for (const ReceivedCommand& command : log) {
    const std::uint8_t opcode = command.cdb[0];
    if (opcode == kOpLoader) {
      accepted = 0;
      imageSoFar = true;
      closed = false;
    } else if ((opcode == kOpLongBlock || opcode == kOpShortBlock) && Accepted(command)) {
      const std::size_t length = std::size_t{command.cdb[6]} << 8 | command.cdb[7];
      imageSoFar = imageSoFar && accepted + length <= image.size() &&
                   std::equal(command.dataOut.begin(),
                              command.dataOut.begin() + static_cast<std::ptrdiff_t>(length),
                              image.begin() + static_cast<std::ptrdiff_t>(accepted));
      accepted += length;
      closed = false;
    } else if (opcode == kOpEndTransfer && Accepted(command)) {
      closed = true;
    } else if (opcode == kOpStartUpdate) {
      if (!closed) return testing::AssertionFailure() << "flash start before an accepted end";
      if (!imageSoFar || accepted != image.size()) {
        return testing::AssertionFailure()
               << "flash start after " << accepted << " accepted bytes that are not the image";
      }
    }
  }
  return testing::AssertionSuccess();
}

// The commands worth failing. Alike commands (same command bytes but an address in bytes
// 2..5, same answer) act alike when they fail: of each kind the first, a middle and the last
// are failed, and so is every command where the clean run changes from one kind to
// another, with the one before it, skipping REQUEST SENSE, which on the CD-ROM device
// precedes every poll. So every kind of command and answer, every step, the first, a middle
// and the last block, the tail and every phase a poll sees are failed, not all 341 blocks
// and 60 reads.
std::vector<std::size_t> SampledFaultPoints(const std::vector<ReceivedCommand>& commands) {
  const auto kindOf = [](const ReceivedCommand& c) {
    std::vector<int> kind{c.cdb[0], static_cast<int>(c.answer.kind), c.answer.asc, c.answer.ascq};
    for (std::size_t i = 6; i < c.cdb.size(); ++i)
      kind.push_back(c.cdb[i]);
    return kind;
  };
  std::map<std::vector<int>, std::vector<std::size_t>> byKind;
  std::set<std::size_t> points;
  std::optional<std::size_t> previous;  // the last command that was no REQUEST SENSE
  for (std::size_t k = 0; k < commands.size(); ++k) {
    const auto kind = kindOf(commands[k]);
    byKind[kind].push_back(k);
    if (commands[k].cdb[0] == kOpRequestSense) continue;
    if (!previous || kindOf(commands[*previous]) != kind) {
      points.insert(k);
      if (previous) points.insert(*previous);
    }
    previous = k;
  }
  for (const auto& [kind, at] : byKind)
    points.insert({at.front(), at[at.size() / 2], at.back()});
  return {points.begin(), points.end()};
}

struct SweepCase {
  int row;  // first row of family 5 or 8
  bool backup;
  TransportKind transport;
};

class FaultSweep : public testing::TestWithParam<SweepCase> {
 protected:
  // One whole update with the k-th command failed in the given way (none: the clean run).
  std::unique_ptr<UpdateRig> Update(std::optional<std::size_t> k, const FailureWay* way) {
    auto run = std::make_unique<UpdateRig>(GetParam().transport);
    UpdateRig& rig = *run;
    FlashDrive& drive = rig.Attach(drive_);
    rig.files.Put("new.vrl", file_);
    // The manager completes requests at once, inside the call, which spares the sweep two
    // thread switches per command; completions on the manager's thread have tests of their own.
    rig.platform.aspi().SetCompletion({AspiCompletion::When::Synchronous, 0, std::nullopt});
    if (k && way->answer) {
      drive.InjectFault({std::nullopt, *way->answer, 1, static_cast<int>(*k)});
    } else if (k) {
      for (std::size_t i = 0; i < *k; ++i)
        rig.platform.aspi().QueueCompletion({AspiCompletion::When::Synchronous, 0, std::nullopt});
      rig.platform.aspi().QueueCompletion({AspiCompletion::When::After, kLateMs, std::nullopt});
    }
    rig.PressStart(GetParam().backup);
    // Whatever the manager still holds completes now, as it would while the program idles.
    rig.platform.RunUntil(rig.platform.clock().NowMs() + 2 * kLateMs, nullptr);
    return run;
  }

  // What must hold after any run, however it went.
  testing::AssertionResult Holds(UpdateRig& rig) {
    const int step = rig.dialog.WizardStep;
    if (step < StepCompleted || step > StepBackupFailed)
      return testing::AssertionFailure() << "ended on step " << step;
    if (step == StepCompleted && rig.drive->flash() != plain_)
      return testing::AssertionFailure() << "reported success, but the flash is not the image";
    if (auto start = StartFollowsCompleteTransfer(rig.drive->received(), plain_); !start)
      return start;
    const bool wrote = std::ranges::any_of(
        rig.drive->received(), [](const ReceivedCommand& c) { return IsWrite(c.cdb[0]); });
    const auto backup = rig.files.files.find(backupName_);
    if (step == StepBackupFailed && (wrote || backup != rig.files.files.end()))
      return testing::AssertionFailure() << "the backup failed, yet something was written";
    // A drive found unable to be read out is flashed without a backup, after telling so.
    const bool toldNoBackup = std::ranges::any_of(
        rig.view.MessageBoxes(), [](const auto& box) { return box.caption == "Back up"; });
    if (GetParam().backup && wrote && !toldNoBackup &&
        (backup == rig.files.files.end() || backup->second != backupBytes_))
      return testing::AssertionFailure() << "written to without a whole backup";
    if (rig.platform.bus().openHandleCount() != 0 || rig.platform.bus().strayRequests() != 0)
      return testing::AssertionFailure() << "the drive's handle was not let go of properly";
    if (rig.platform.liveHoldCount() != 0 || rig.platform.unheldRequestCount() != 0)
      return testing::AssertionFailure() << "the machine was not held up for the whole claim";
    return testing::AssertionSuccess();
  }

  FlashDrive::Setup drive_ = DriveOfRow(GetParam().row, 1);
  firmware::ImageBytes fresh_ = firmware::MakeSampleImage(GetParam().row, 2);
  std::vector<std::uint8_t> plain_{fresh_.begin(), fresh_.end()};
  std::vector<std::uint8_t> file_ = *firmware::SampleFileBytes(GetParam().row, fresh_);
  // The name and bytes of the backup that the clean run saved.
  std::string backupName_;
  std::vector<std::uint8_t> backupBytes_;
};

TEST_P(FaultSweep, NoFailedCommandLeadsToAWrongOutcome) {
  const bool aspi = GetParam().transport == TransportKind::Aspi;
  const auto clean = Update(std::nullopt, nullptr);
  ASSERT_EQ(clean->dialog.WizardStep, StepCompleted);
  if (GetParam().backup) {
    backupName_ = clean->dialog.backupFileName;
    ASSERT_TRUE(clean->files.files.count(backupName_));
    backupBytes_ = clean->files.files[backupName_];
  }
  ASSERT_TRUE(Holds(*clean));
  const auto& commands = clean->drive->received();

  const std::vector<std::size_t> points = SampledFaultPoints(commands);
  int failures = 0;
  std::map<int, int> outcomes;
  for (const FailureWay& way : kFailureWays) {
    // A request that never completes keeps its ASPI manager alive for good; on ASPI the
    // time-out is the late completion.
    const bool late = !way.answer;
    if (aspi ? way.answer && way.answer->kind == DriveAnswer::Kind::NoAnswer : late) continue;
    for (const std::size_t k : points) {
      if (failures >= 5) break;
      const auto run = Update(k, &way);
      ++outcomes[run->dialog.WizardStep];
      const auto held = Holds(*run);
      if (!held) ++failures;
      EXPECT_TRUE(held) << "command " << k << " (opcode 0x" << std::hex << int{commands[k].cdb[0]}
                        << std::dec << ") failed as " << way.name;
    }
  }
  // The faults really struck: some runs never reached the drive's loader, some stopped
  // while writing, and with a backup asked for, some backups failed.
  EXPECT_GT(outcomes[StepNoUpdateMode], 0);
  EXPECT_GT(outcomes[StepUpdateFailed], 0);
  EXPECT_EQ(outcomes[StepBackupFailed] > 0, GetParam().backup);
}

std::vector<SweepCase> AllCases() {
  std::vector<SweepCase> cases;
  for (TransportKind transport : {TransportKind::Aspi, TransportKind::CdromDevice})
    for (bool backup : {false, true})
      // Families 5 and 8: the additive and the packed form; 6 and 7 send and poll alike.
      for (int row : {7, 35})
        cases.push_back({row, backup, transport});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Updates, FaultSweep, testing::ValuesIn(AllCases()));

}  // namespace
}  // namespace zentor::update
