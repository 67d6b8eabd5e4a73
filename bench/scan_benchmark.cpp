// SPDX-License-Identifier: GPL-2.0-or-later
// The start-up scan asks all 100 pass-through device numbers; with no drive present every
// one of them is a failed open. These measure what that costs.
#include <benchmark/benchmark.h>

#include "platform/linux/linux_device_io.h"
#include "platform/sim/sim_platform.h"
#include "scsi/drive_access.h"
#include "scsi/drive_scan.h"

namespace {

using zentor::scsi::DriveAccess;
using zentor::scsi::ScanPassThrough;
using zentor::scsi::TransportKind;

void BM_ScanEmptySimulatedBus(benchmark::State& state) {
  zentor::platform::sim::SimPlatform platform;
  DriveAccess drives(platform);
  drives.transportKind = TransportKind::CdromDevice;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ScanPassThrough(drives));
    state.PauseTiming();
    platform.bus().ForgetHistory();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ScanEmptySimulatedBus);

// Real open(2) calls on /dev/sr0../dev/sr99; meaningful on a machine without optical drives
// (on one with drives it measures a real scan instead).
void BM_ScanLinuxWithoutDrives(benchmark::State& state) {
  zentor::platform::linux_os::LinuxDeviceIo devices;
  DriveAccess drives(devices);
  drives.transportKind = TransportKind::CdromDevice;
  for (auto _ : state)
    benchmark::DoNotOptimize(ScanPassThrough(drives));
}
BENCHMARK(BM_ScanLinuxWithoutDrives)->Unit(benchmark::kMicrosecond);

}  // namespace
