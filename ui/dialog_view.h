// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace zentor::ui {

// What a message box looks like; the program's boxes have one OK button.
enum class MessageIcon { None, Stop, Exclamation, Information };
enum class MessageButtons { Ok };
inline constexpr int kMessageBoxOk = 1;

struct MessageBoxRequest {
  std::string text;
  std::string caption;
  MessageIcon icon = MessageIcon::None;
  MessageButtons buttons = MessageButtons::Ok;

  bool operator==(const MessageBoxRequest&) const = default;
};

// How the password prompt closed: Enter accepts the typed text, Esc or the close box
// cancels it.
struct PasswordAnswer {
  bool accepted = false;
  std::string text;
};

// A control's outer size in the view's own units (pixels on a screen).
struct ControlSize {
  int width = 0;
  int height = 0;

  bool operator==(const ControlSize&) const = default;
};

// The dialog's window as FlashDialog sees it. Controls are addressed by their template ids;
// texts are UTF-8. Everything runs on the one dialog thread.
class DialogView {
 public:
  virtual ~DialogView() = default;

  virtual void SetText(int id, std::string_view text) = 0;
  virtual std::string Text(int id) const = 0;
  virtual void SetCheck(int id, int state) = 0;
  virtual int Check(int id) const = 0;
  virtual void SetEnabled(int id, bool enabled) = 0;
  virtual bool IsEnabled(int id) const = 0;
  virtual void SetVisible(int id, bool visible) = 0;
  virtual bool IsVisible(int id) const = 0;

  // The drop-down lists. A sorted list places a new entry in its order and returns its
  // index; an unsorted one appends. Selection -1 means none.
  virtual void ClearList(int id) = 0;
  virtual int AddListEntry(int id, std::string_view text) = 0;
  virtual int ListCount(int id) const = 0;
  virtual std::string ListEntry(int id, int index) const = 0;
  virtual void SelectListEntry(int id, int index) = 0;
  virtual int ListSelection(int id) const = 0;

  virtual void SetTitle(std::string_view title) = 0;
  // The window's large and small icon (and so the task bar's), by resource id.
  virtual void SetIcons(int iconResource) = 0;
  // Shows a bitmap resource in a picture control, which takes the bitmap's size.
  virtual void SetPicture(int id, int bitmapResource) = 0;
  virtual ControlSize SizeOfControl(int id) const = 0;
  // Resizes a control, keeping its position and its place in the z-order.
  virtual void ResizeControl(int id, ControlSize size) = 0;

  virtual void SetProgressRange(int id, int low, int high) = 0;
  virtual void SetProgressPosition(int id, int position) = 0;

  // Modal: returns once the user has closed the box, with the button pressed.
  virtual int ShowMessageBox(const MessageBoxRequest& request) = 0;
  // Modal password prompt (template 134): one masked edit holding at most maxLength
  // characters, which starts empty and has the focus.
  virtual PasswordAnswer RunPasswordDialog(int maxLength) = 0;

  // Makes every change so far visible now, without waiting for the event loop: the long
  // operations run on the dialog thread and this is the only way the user sees progress.
  virtual void RepaintNow() = 0;
  // Ends the dialog's modal loop with the given result.
  virtual void EndDialog(int result) = 0;
};

// What the user does to the dialog, delivered by the view to the dialog's event table.
class DialogEvents {
 public:
  virtual ~DialogEvents() = default;
  virtual void Clicked(int id) = 0;
  virtual void SelectionChanged(int id) = 0;
  virtual void CancelCommand() = 0;
};

}  // namespace zentor::ui
