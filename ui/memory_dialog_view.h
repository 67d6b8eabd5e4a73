// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "resources/dialog_template.h"
#include "ui/dialog_view.h"

namespace zentor::ui {

// Everything a control shows, as the in-memory view records it.
struct ControlState {
  resources::ControlKind kind{};
  std::uint32_t style = 0;
  std::string text;
  int check = 0;
  bool enabled = true;
  bool visible = true;
  std::vector<std::string> entries;
  int selection = -1;
  int rangeLow = 0;
  int rangeHigh = 100;
  int position = 0;
  ControlSize size;  // the template's size in dialog units until resized
  int picture = 0;   // bitmap resource shown by a picture control
};

// A dialog without a window: it keeps every control's state by id and records what a user
// would have seen (message boxes, password prompts, repaints, the end of the dialog). It
// also plays the user's part: clicks, selections and the cancel command go through the same
// rules as on a real window (automatic check boxes and radio buttons toggle before the
// handler runs; hidden or disabled controls cannot be used).
class MemoryDialogView : public DialogView {
 public:
  explicit MemoryDialogView(
      const resources::DialogTemplate& dialog = resources::MainDialogTemplate());

  void Connect(DialogEvents* events) { events_ = events; }

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
  void SetTitle(std::string_view title) override { title_ = title; }
  void SetIcons(int iconResource) override { iconResource_ = iconResource; }
  void SetPicture(int id, int bitmapResource) override;
  ControlSize SizeOfControl(int id) const override { return Control(id).size; }
  void ResizeControl(int id, ControlSize size) override { Mutable(id).size = size; }
  void SetProgressRange(int id, int low, int high) override;
  void SetProgressPosition(int id, int position) override;
  int ShowMessageBox(const MessageBoxRequest& request) override;
  PasswordAnswer RunPasswordDialog(int maxLength) override;
  void RepaintNow() override;
  void EndDialog(int result) override;

  // --- the user's part; each returns false when a user could not have done it
  bool Click(int id);
  bool SelectEntry(int id, int index);
  bool Cancel();  // Esc or the close box: only while the Close button is enabled
  // What the user will type into the next password prompts, in order. A prompt with
  // nothing queued is cancelled.
  void QueuePasswordAnswer(PasswordAnswer answer) { passwordAnswers_.push_back(std::move(answer)); }

  // --- what was shown
  const ControlState& Control(int id) const;
  const std::vector<MessageBoxRequest>& MessageBoxes() const { return messageBoxes_; }
  // Length limits of the password prompts shown, one entry per prompt.
  const std::vector<int>& PasswordPrompts() const { return passwordPrompts_; }
  int RepaintCount() const { return repaints_; }
  const std::string& Title() const { return title_; }
  int IconResource() const { return iconResource_; }
  bool Ended() const { return ended_; }
  int EndResult() const { return endResult_; }

 private:
  ControlState& Mutable(int id);
  ControlState& List(int id);
  const ControlState& List(int id) const;

  std::map<int, ControlState> controls_;
  DialogEvents* events_ = nullptr;
  std::deque<PasswordAnswer> passwordAnswers_;
  std::vector<MessageBoxRequest> messageBoxes_;
  std::vector<int> passwordPrompts_;
  int repaints_ = 0;
  std::string title_;
  int iconResource_ = 0;
  bool ended_ = false;
  int endResult_ = 0;
};

}  // namespace zentor::ui
