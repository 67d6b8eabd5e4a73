// SPDX-License-Identifier: GPL-2.0-or-later
// Selecting a firmware file reads and recognises it; a packed file (families 6..8) has to
// be unpacked for that. This measures the source list of a directory of 200 family-8
// files: the listing, then the selection of every entry in turn, on real files.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "firmware/sample_firmware.h"
#include "platform/linux/linux_platform.h"
#include "platform/linux/posix_file_system.h"
#include "ui/flash_dialog.h"
#include "ui/memory_dialog_view.h"

namespace {

namespace fs = std::filesystem;
using namespace zentor;

constexpr int kFiles = 200;
constexpr int kFirstFamily8Row = 35;

fs::path MakeDirectory() {
  std::string pattern = (fs::temp_directory_path() / "zentor-bench-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) return {};
  for (int n = 0; n < kFiles; ++n) {
    const int row = kFirstFamily8Row + n % 10;
    const auto bytes = *firmware::SampleFileBytes(row, firmware::MakeSampleImage(row, n));
    std::ofstream(fs::path(pattern) / ("fw" + std::to_string(n) + ".vrl"), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
  return pattern;
}

void BM_SelectEveryFamily8File(benchmark::State& state) {
  const fs::path directory = MakeDirectory();
  platform::linux_os::PosixFileSystem files(directory.string());
  platform::linux_os::LinuxPlatform system;
  for (auto _ : state) {
    // A dialog of its own each time: one that has seen the files knows them already.
    ui::MemoryDialogView view;
    ui::FlashDialog dialog(view, files, system);
    dialog.FillSourceFileEntries();
    for (int entry = 0; entry < view.ListCount(1001); ++entry) {
      view.SelectListEntry(1001, entry);
      dialog.IdentifySourceFile();
      if (dialog.fileFamily != 8) state.SkipWithError("a file was not recognised");
    }
  }
  // Seconds per file (printed with its SI prefix, "1.2m" is 1.2 ms).
  state.counters["per_file"] = benchmark::Counter(
      kFiles, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  fs::remove_all(directory);
}
BENCHMARK(BM_SelectEveryFamily8File)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
