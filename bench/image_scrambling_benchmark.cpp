// SPDX-License-Identifier: GPL-2.0-or-later
// Packing and unpacking a full 1 MiB image, against a plain 1 MiB memcpy: both forms are one
// add per byte, so they should stay within a small factor of copying the image. After the
// usual table the program prints each operation's time as a multiple of the memcpy.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <string>

#include "firmware/packed_image.h"

namespace {

using zentor::firmware::ImageBytes;
using zentor::firmware::kImageSize;

// Every buffer of the benchmarks starts on a page of its own, memcpy's as well: where a
// buffer lies within its pages (malloc puts large ones 16 bytes in) moves every figure
// here by up to a half from run to run, which would drown the comparison.
struct FreeBuffer {
  void operator()(std::uint8_t* bytes) const { std::free(bytes); }
};
using PageBuffer = std::unique_ptr<std::uint8_t[], FreeBuffer>;
PageBuffer PageAligned(std::size_t size, const std::uint8_t* from = nullptr) {
  constexpr std::size_t kPage = 4096;
  PageBuffer buffer(
      static_cast<std::uint8_t*>(std::aligned_alloc(kPage, (size + kPage - 1) / kPage * kPage)));
  if (from)
    std::memcpy(buffer.get(), from, size);
  else
    std::memset(buffer.get(), 0, size);
  return buffer;
}

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

// All three work on the same two buffers, the image and room for its packed form: how a
// buffer's pages fall into the caches differs from one allocation to the next and moved a
// ratio by a fifth between runs when each benchmark had buffers of its own.
struct SharedBuffers {
  PageBuffer image = PageAligned(kImageSize, FullImage().data());
  // Room for the packed form and for memcpy's whole megabyte, which is the larger.
  PageBuffer packed = PageAligned(std::max(kImageSize, zentor::firmware::kMaxPackedLength));
  std::span<std::uint8_t, zentor::firmware::kMaxPackedLength> packedRoom{
      packed.get(), zentor::firmware::kMaxPackedLength};
  std::span<std::uint8_t, kImageSize> imageRoom{image.get(), kImageSize};
};
SharedBuffers& Buffers() {
  static SharedBuffers buffers;
  return buffers;
}

void BM_Memcpy1MiB(benchmark::State& state) {
  SharedBuffers& buffers = Buffers();
  for (auto _ : state) {
    std::memcpy(buffers.packed.get(), buffers.image.get(), kImageSize);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kImageSize);
}
BENCHMARK(BM_Memcpy1MiB);

// Pack and unpack write into a buffer that stays, as memcpy does: what is measured is the
// work on the bytes, not the allocator's first touch of a fresh megabyte.
void BM_PackImage(benchmark::State& state) {
  SharedBuffers& buffers = Buffers();
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        zentor::firmware::PackImageInto(buffers.imageRoom, buffers.packedRoom));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kImageSize);
}
BENCHMARK(BM_PackImage);

// Unpacks into the image's own buffer: the result is the image again, byte for byte.
void BM_UnpackImage(benchmark::State& state) {
  SharedBuffers& buffers = Buffers();
  const std::size_t length =
      *zentor::firmware::PackImageInto(buffers.imageRoom, buffers.packedRoom);
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        zentor::firmware::UnpackImageInto(buffers.packedRoom.first(length), buffers.imageRoom));
    benchmark::ClobberMemory();
  }
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
