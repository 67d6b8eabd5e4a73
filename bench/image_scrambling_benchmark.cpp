// Packing and unpacking a full 1 MiB image, against a plain 1 MiB memcpy: both forms are one
// add per byte, so they should stay within a small factor of copying the image. After the
// usual table the program prints each operation's time as a multiple of the memcpy.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>

#include "firmware/packed_image.h"

namespace {

using zentor::firmware::ImageBytes;
using zentor::firmware::kImageSize;

// A full image: random data everywhere except the erased region, so the body has all 992
// blocks and nothing is cut.
const ImageBytes& FullImage() {
  static const ImageBytes image = [] {
    std::mt19937 random(7);
    ImageBytes bytes(kImageSize);
    for (auto& byte : bytes)
      byte = static_cast<std::uint8_t>(random());
    std::fill(bytes.begin() + 0x4000, bytes.begin() + 0x8000, 0xFF);
    return bytes;
  }();
  return image;
}

void BM_Memcpy1MiB(benchmark::State& state) {
  const ImageBytes& source = FullImage();
  ImageBytes target(kImageSize);
  for (auto _ : state) {
    std::memcpy(target.data(), source.data(), kImageSize);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kImageSize);
}
BENCHMARK(BM_Memcpy1MiB);

void BM_PackImage(benchmark::State& state) {
  const ImageBytes& image = FullImage();
  for (auto _ : state)
    benchmark::DoNotOptimize(zentor::firmware::PackImage(image));
  state.SetBytesProcessed(state.iterations() * kImageSize);
}
BENCHMARK(BM_PackImage);

void BM_UnpackImage(benchmark::State& state) {
  const ImageBytes packed = *zentor::firmware::PackImage(FullImage());
  for (auto _ : state)
    benchmark::DoNotOptimize(zentor::firmware::UnpackImage(packed));
  state.SetBytesProcessed(state.iterations() * kImageSize);
}
BENCHMARK(BM_UnpackImage);

// Shows the usual table and keeps each benchmark's time per iteration for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
        nanoseconds_[run.benchmark_name()] =
            run.GetAdjustedRealTime() * benchmark::GetTimeUnitMultiplier(benchmark::kNanosecond) /
            benchmark::GetTimeUnitMultiplier(run.time_unit);
      }
    }
  }

  void PrintRatios() const {
    const auto base = nanoseconds_.find("BM_Memcpy1MiB");
    if (base == nanoseconds_.end() || base->second <= 0) return;
    std::printf("\nTime per 1 MiB image as a multiple of memcpy (%.1f us):\n", base->second / 1e3);
    for (const auto& [name, ns] : nanoseconds_) {
      if (name != base->first) std::printf("  %-16s %6.2fx\n", name.c_str(), ns / base->second);
    }
  }

 private:
  std::map<std::string, double> nanoseconds_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
