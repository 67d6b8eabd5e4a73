// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/windows/session_end_refusal.h"

#include <windows.h>

#include <future>

#include "platform/windows/wide_text.h"

namespace zentor::platform::windows {
namespace {

LRESULT CALLBACK RefusingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_QUERYENDSESSION:
      return FALSE;  // not now: the drive would be left half written
    case WM_CLOSE:
      ShutdownBlockReasonDestroy(window);
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

// Registered once for the process; a second registration of the same class is refused,
// which is fine.
void RegisterRefusingClass() {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = RefusingProcedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kSessionEndWindowClass;
  RegisterClassW(&windowClass);
}

}  // namespace

std::unique_ptr<SessionEndRefusal> SessionEndRefusal::Raise(const std::string& reason) {
  std::unique_ptr<SessionEndRefusal> refusal(new SessionEndRefusal);
  std::promise<HWND> made;
  std::future<HWND> window = made.get_future();
  refusal->thread_ = std::thread([&made, wideReason = Wide(reason)] {
    RegisterRefusingClass();
    // Top-level but never shown: a message-only window would not be asked.
    const HWND window = CreateWindowExW(0, kSessionEndWindowClass, L"Zentor", WS_OVERLAPPED, 0,
                                        0, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr),
                                        nullptr);
    if (window) ShutdownBlockReasonCreate(window, wideReason.c_str());
    made.set_value(window);
    if (!window) return;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
      DispatchMessageW(&message);
  });
  refusal->window_ = window.get();
  if (!refusal->window_) {
    refusal->thread_.join();
    return nullptr;
  }
  return refusal;
}

SessionEndRefusal::~SessionEndRefusal() {
  if (!thread_.joinable()) return;  // the window was never made, and its thread has ended
  // Closed by its own thread, whose message loop then ends.
  PostMessageW(static_cast<HWND>(window_), WM_CLOSE, 0, 0);
  thread_.join();
}

}  // namespace zentor::platform::windows
