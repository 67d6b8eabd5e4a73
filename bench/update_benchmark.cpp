// SPDX-License-Identifier: GPL-2.0-or-later
// A whole family-8 update as the user runs it (file list, scan, selection, Next, Start) on a
// simulated drive over the CD-ROM device transport, on virtual time: the drive's phases and
// the program's pauses cost no time, so what is left is the work of the process itself (the
// virtual drive's included, so the program's own share is at most this). The counter
// "commands" is how many commands reached the drive.
#include <benchmark/benchmark.h>

#include "tests/update/update_rig.h"

namespace {

using namespace zentor;
using update::test_support::DriveOfRow;
using update::test_support::UpdateRig;

constexpr int kFamily8Row = 35;

void BM_WholeFamily8Update(benchmark::State& state) {
  const auto drive = DriveOfRow(kFamily8Row, 1);
  const auto file = *firmware::SampleFileBytes(kFamily8Row, firmware::MakeSampleImage(kFamily8Row, 2));
  std::size_t commands = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto run = std::make_unique<UpdateRig>(scsi::TransportKind::CdromDevice);
    run->Attach(drive);
    run->files.Put("kxr80.vrl", file);
    state.ResumeTiming();

    run->PressStart();

    state.PauseTiming();
    if (run->dialog.WizardStep != update::StepCompleted) state.SkipWithError("the update failed");
    commands = run->drive->received().size();
    run.reset();
    state.ResumeTiming();
  }
  state.counters["commands"] = static_cast<double>(commands);
}
BENCHMARK(BM_WholeFamily8Update)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

}  // namespace

BENCHMARK_MAIN();
