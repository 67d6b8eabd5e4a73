// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "resources/dialog_template.h"
#include "ui/dialog_view.h"

namespace zentor::ui::win32 {

// The main dialog as a real Win32 dialog, made in memory from template 102 in the variant's
// font; the user's clicks and selections go to the dialog's event table. While the dialog's
// own code runs (the start, any handler, an update) the window takes no input and cannot be
// closed, and a log-off or shutdown is refused with a reason Windows shows: only a repaint
// lets the window system in then, and a message box.
class Win32DialogView : public DialogView {
 public:
  explicit Win32DialogView(resources::TemplateLanguage language);
  ~Win32DialogView() override;
  Win32DialogView(const Win32DialogView&) = delete;
  Win32DialogView& operator=(const Win32DialogView&) = delete;

  void Connect(DialogEvents* events) { events_ = events; }

  // Runs `start` with the window still hidden; unless that ended the dialog, shows the
  // window with the focus on its first tab stop and runs it modally; `shown`, when given,
  // runs once over the visible window. Returns the result the dialog ended with.
  int RunModal(const std::function<void()>& start, const std::function<void()>& shown = {});
  // The same without the modal loop, for tests that drive the window themselves.
  bool Start(const std::function<void()>& start);

  HWND window() const { return window_; }
  HWND Control(int id) const { return GetDlgItem(window_, id); }
  bool ended() const { return ended_; }
  // True while the dialog's own code runs and the user is held off.
  bool busy() const { return holds_ > 0; }

  // Lets the window system in: paints, timers and the system's questions are answered, what
  // the user typed or clicked meanwhile is dropped.
  void LetWindowSystemIn();

  // --- the port
  void SetText(int id, std::string_view text) override;
  std::string Text(int id) const override;
  void SetCheck(int id, int state) override;
  int Check(int id) const override;
  void SetEnabled(int id, bool enabled) override;
  bool IsEnabled(int id) const override;
  void SetVisible(int id, bool visible) override;
  bool IsVisible(int id) const override;
  void ClearList(int id) override;
  int AddListEntry(int id, std::string_view text) override;
  int ListCount(int id) const override;
  std::string ListEntry(int id, int index) const override;
  void SelectListEntry(int id, int index) override;
  int ListSelection(int id) const override;
  void SetTitle(std::string_view title) override;
  void SetIcons(int iconResource) override;
  void SetPicture(int id, int bitmapResource) override;
  ControlSize SizeOfControl(int id) const override;
  void ResizeControl(int id, ControlSize size) override;
  void SetProgressRange(int id, int low, int high) override;
  void SetProgressPosition(int id, int position) override;
  int ShowMessageBox(const MessageBoxRequest& request) override;
  PasswordAnswer RunPasswordDialog(int maxLength) override;
  void RepaintNow() override;
  void EndDialog(int result) override;

 private:
  static INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Command(int id, int notification);
  void Cancel();
  void Dispatch(const std::function<void()>& work);
  void PaintMinimised();

  resources::TemplateLanguage language_;
  HWND window_ = nullptr;
  HICON largeIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
  HBITMAP picture_ = nullptr;
  std::map<int, std::string> texts_;  // what the program last set, returned as set
  DialogEvents* events_ = nullptr;
  int holds_ = 0;
  bool ended_ = false;
  int endResult_ = 0;
  std::function<void()> shown_;
};

}  // namespace zentor::ui::win32
