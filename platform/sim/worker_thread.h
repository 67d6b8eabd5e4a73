// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace zentor::platform::sim {

// One thread of its own that runs jobs in order: what a driver's completion context is to
// the program. Jobs still queued when it is destroyed are dropped.
class WorkerThread {
 public:
  WorkerThread();
  ~WorkerThread();
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  void Post(std::function<void()> job);
  // Runs the job on the thread and returns once it has finished.
  void Run(std::function<void()> job);

 private:
  void Loop();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> jobs_;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace zentor::platform::sim
