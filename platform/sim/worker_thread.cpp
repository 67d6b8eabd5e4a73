// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/sim/worker_thread.h"

#include <future>

namespace zentor::platform::sim {

WorkerThread::WorkerThread() : thread_([this] { Loop(); }) {}

WorkerThread::~WorkerThread() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    jobs_.clear();
  }
  wake_.notify_all();
  thread_.join();
}

void WorkerThread::Post(std::function<void()> job) {
  {
    std::lock_guard lock(mutex_);
    jobs_.push_back(std::move(job));
  }
  wake_.notify_all();
}

void WorkerThread::Run(std::function<void()> job) {
  std::promise<void> done;
  auto finished = done.get_future();
  Post([&] {
    job();
    done.set_value();
  });
  finished.wait();
}

void WorkerThread::Loop() {
  for (;;) {
    std::function<void()> job;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
      if (stopping_) return;
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    job();
  }
}

}  // namespace zentor::platform::sim
