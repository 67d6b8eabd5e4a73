// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <memory>
#include <string>
#include <thread>

namespace zentor::platform::windows {

// The class of the hidden window, by which a test (or a curious user's tool) finds it.
inline constexpr wchar_t kSessionEndWindowClass[] = L"ZentorSessionEndRefusal";

// Windows asks top-level windows, not programs, whether a log-off or a shutdown may go on
// (WM_QUERYENDSESSION); a console program that has none is never asked, and is ended. While
// this lives, a hidden top-level window of the process says no and gives Windows the reason
// to show on its shutdown screen. It runs on a thread of its own, so that it answers while
// the update keeps the program's own thread busy. The user can still force the shutdown
// from that screen: the refusal asks, it cannot forbid.
class SessionEndRefusal {
 public:
  // Nullptr where the window could not be made.
  static std::unique_ptr<SessionEndRefusal> Raise(const std::string& reason);
  ~SessionEndRefusal();
  SessionEndRefusal(const SessionEndRefusal&) = delete;
  SessionEndRefusal& operator=(const SessionEndRefusal&) = delete;

 private:
  SessionEndRefusal() = default;
  void* window_ = nullptr;
  std::thread thread_;
};

}  // namespace zentor::platform::windows
