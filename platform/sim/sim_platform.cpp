// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/sim/sim_platform.h"

#include <atomic>

namespace zentor::platform::sim {
namespace {

// What the program holds after loading: the platform keeps the manager itself, so tests
// can steer it while the program uses it.
class LoadedSimAspi final : public AspiManager {
 public:
  explicit LoadedSimAspi(std::shared_ptr<SimAspiManager> manager) : manager_(std::move(manager)) {}
  std::uint32_t GetASPI32SupportInfo() override { return manager_->GetASPI32SupportInfo(); }
  std::uint32_t SendASPI32Command(AspiExecRequest* request) override {
    return manager_->SendASPI32Command(request);
  }

 private:
  std::shared_ptr<SimAspiManager> manager_;
};

}  // namespace

DeviceClaim SimPlatform::ClaimDevice(const std::string& name) {
  DeviceClaim claim = bus_.ClaimDevice(name);
  if (claim.device != kNoDevice) claimed_.insert(claim.device);
  return claim;
}

std::unique_ptr<MachineHold> SimPlatform::KeepMachineUp() {
  class CountedHold final : public MachineHold {
   public:
    explicit CountedHold(int& count) : count_(count) { ++count_; }
    ~CountedHold() override { --count_; }
    CountedHold(const CountedHold&) = delete;
    CountedHold& operator=(const CountedHold&) = delete;

   private:
    int& count_;
  };
  ++holdsTaken_;
  return std::make_unique<CountedHold>(liveHolds_);
}

// An auto-reset event whose waits run on virtual time.
class SimPlatform::Event final : public CompletionEvent {
 public:
  explicit Event(SimPlatform& platform) : platform_(platform) {
    std::lock_guard lock(platform_.eventsMutex_);
    platform_.liveEvents_.insert(this);
  }
  ~Event() override {
    std::lock_guard lock(platform_.eventsMutex_);
    platform_.liveEvents_.erase(this);
  }

  void* PostHandle() override { return this; }
  bool Wait(std::uint32_t milliseconds) override {
    platform_.RunUntil(platform_.NowMs() + milliseconds, [this] { return signalled_.load(); });
    return signalled_.exchange(false);
  }
  void Reset() override { signalled_ = false; }
  void Signal() { signalled_ = true; }

 private:
  SimPlatform& platform_;
  std::atomic<bool> signalled_ = false;
};

SimPlatform::SimPlatform(int osFamily)
    : osFamily_(osFamily),
      aspi_(std::make_shared<SimAspiManager>(
          bus_, [this](void* handle) { SignalEvent(handle); }, [this] { return clock_.NowMs(); })) {
}

SimPlatform::~SimPlatform() = default;

AspiLoad SimPlatform::LoadAspiManager() {
  switch (aspiLibrary_) {
    case AspiLibrary::Missing:
      return {nullptr, AspiLoad::Failure::LibraryNotFound};
    case AspiLibrary::LacksEntryPoint:
      return {nullptr, AspiLoad::Failure::EntryPointMissing};
    case AspiLibrary::Present:
      break;
  }
  return {std::make_unique<LoadedSimAspi>(aspi_), AspiLoad::Failure::None};
}

std::unique_ptr<CompletionEvent> SimPlatform::CreateCompletionEvent() {
  if (!eventsAvailable_) return nullptr;
  return std::make_unique<Event>(*this);
}

std::size_t SimPlatform::liveEventCount() const {
  std::lock_guard lock(eventsMutex_);
  return liveEvents_.size();
}

// A manager may signal an event the program has already released; like a closed handle,
// that reaches nothing.
void SimPlatform::SignalEvent(void* postHandle) {
  std::lock_guard lock(eventsMutex_);
  if (liveEvents_.count(postHandle)) static_cast<Event*>(postHandle)->Signal();
}

void SimPlatform::SleepMs(std::uint32_t milliseconds) {
  clock_.NoteSleep(milliseconds);
  RunUntil(clock_.NowMs() + milliseconds, nullptr);
}

bool SimPlatform::RunUntil(std::uint64_t deadline, const std::function<bool()>& done) {
  for (;;) {
    if (done && done()) return true;
    const auto due = aspi_->NextDue();
    if (!due || *due > deadline) break;
    clock_.AdvanceTo(*due);
    aspi_->CompleteDue(clock_.NowMs());
  }
  clock_.AdvanceTo(deadline);
  return done && done();
}

}  // namespace zentor::platform::sim
