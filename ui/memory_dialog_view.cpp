// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/memory_dialog_view.h"

#include <algorithm>
#include <stdexcept>

#include "resources/pictures.h"
#include "ui/control_ids.h"
#include "ui/list_order.h"

namespace zentor::ui {
namespace {

using resources::ControlKind;

// The first maxLength characters of a UTF-8 text, as an edit control limited to that many
// characters would have kept them.
std::string FirstCharacters(const std::string& text, int maxLength) {
  int characters = 0;
  for (std::size_t at = 0; at < text.size(); ++at) {
    const bool startsCharacter = (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80;
    if (startsCharacter && characters++ == maxLength) return text.substr(0, at);
  }
  return text;
}

bool Clickable(ControlKind kind) {
  return kind == ControlKind::PushButton || kind == ControlKind::DefaultPushButton ||
         kind == ControlKind::AutoCheckBox || kind == ControlKind::AutoRadioButton;
}

// A control by id, const or not; an id the dialog does not have is a defect of the caller.
template <typename Controls>
auto& ControlIn(Controls& controls, int id) {
  const auto found = controls.find(id);
  if (found == controls.end()) throw std::out_of_range("no control " + std::to_string(id));
  return found->second;
}

template <typename Controls>
auto& ListIn(Controls& controls, int id) {
  auto& state = ControlIn(controls, id);
  if (state.kind != ControlKind::DropDownList) {
    throw std::invalid_argument("control " + std::to_string(id) + " is not a list");
  }
  return state;
}

}  // namespace

MemoryDialogView::MemoryDialogView(const resources::DialogTemplate& dialog) {
  for (const resources::ControlTemplate& control : dialog.controls) {
    if (control.id < 0) continue;
    ControlState& state = controls_[control.id];
    state.kind = control.kind;
    state.style = control.style;
    state.text = control.caption;
    state.size = {control.width, control.height};
  }
}

// A picture control takes the size of its bitmap; the logo is the only one.
void MemoryDialogView::SetPicture(int id, int bitmapResource) {
  ControlState& state = Mutable(id);
  state.picture = bitmapResource;
  if (bitmapResource == resources::kLogoBitmapResource)
    state.size = {resources::kLogoWidth, resources::kLogoHeight};
}

ControlState& MemoryDialogView::Mutable(int id) {
  return ControlIn(controls_, id);
}
const ControlState& MemoryDialogView::Control(int id) const {
  return ControlIn(controls_, id);
}
ControlState& MemoryDialogView::List(int id) {
  return ListIn(controls_, id);
}
const ControlState& MemoryDialogView::List(int id) const {
  return ListIn(controls_, id);
}

void MemoryDialogView::SetText(int id, std::string_view text) {
  Mutable(id).text = text;
}
std::string MemoryDialogView::Text(int id) const {
  return Control(id).text;
}
void MemoryDialogView::SetCheck(int id, int state) {
  Mutable(id).check = state;
}
int MemoryDialogView::Check(int id) const {
  return Control(id).check;
}
void MemoryDialogView::SetEnabled(int id, bool enabled) {
  Mutable(id).enabled = enabled;
}
bool MemoryDialogView::IsEnabled(int id) const {
  return Control(id).enabled;
}
void MemoryDialogView::SetVisible(int id, bool visible) {
  Mutable(id).visible = visible;
}
bool MemoryDialogView::IsVisible(int id) const {
  return Control(id).visible;
}

void MemoryDialogView::ClearList(int id) {
  ControlState& list = List(id);
  list.entries.clear();
  list.selection = -1;
}

int MemoryDialogView::AddListEntry(int id, std::string_view text) {
  ControlState& list = List(id);
  auto at = list.entries.end();
  if (list.style & resources::kSorted) {
    at = std::upper_bound(
        list.entries.begin(), list.entries.end(), text,
        [](std::string_view a, const std::string& b) { return ListOrderLess(a, b); });
  }
  const int index = static_cast<int>(at - list.entries.begin());
  list.entries.insert(at, std::string(text));
  if (list.selection >= index) ++list.selection;
  return index;
}

int MemoryDialogView::ListCount(int id) const {
  return static_cast<int>(List(id).entries.size());
}

std::string MemoryDialogView::ListEntry(int id, int index) const {
  const ControlState& list = List(id);
  if (index < 0 || index >= static_cast<int>(list.entries.size())) return {};
  return list.entries[index];
}

void MemoryDialogView::SelectListEntry(int id, int index) {
  ControlState& list = List(id);
  // Like a real list, an index outside the entries leaves nothing selected.
  list.selection = index >= 0 && index < static_cast<int>(list.entries.size()) ? index : -1;
}

int MemoryDialogView::ListSelection(int id) const {
  return List(id).selection;
}

void MemoryDialogView::SetProgressRange(int id, int low, int high) {
  ControlState& bar = Mutable(id);
  bar.rangeLow = low;
  bar.rangeHigh = high;
  bar.position = std::clamp(bar.position, low, std::max(low, high));
}

void MemoryDialogView::SetProgressPosition(int id, int position) {
  ControlState& bar = Mutable(id);
  bar.position = std::clamp(position, bar.rangeLow, std::max(bar.rangeLow, bar.rangeHigh));
}

int MemoryDialogView::ShowMessageBox(const MessageBoxRequest& request) {
  messageBoxes_.push_back(request);
  return kMessageBoxOk;
}

PasswordAnswer MemoryDialogView::RunPasswordDialog(int maxLength) {
  passwordPrompts_.push_back(maxLength);
  if (passwordAnswers_.empty()) return {};
  PasswordAnswer answer = std::move(passwordAnswers_.front());
  passwordAnswers_.pop_front();
  if (!answer.accepted) return {};
  answer.text = FirstCharacters(answer.text, maxLength);
  return answer;
}

void MemoryDialogView::RepaintNow() {
  ++repaints_;
}

void MemoryDialogView::EndDialog(int result) {
  ended_ = true;
  endResult_ = result;
}

bool MemoryDialogView::Click(int id) {
  ControlState& control = Mutable(id);
  if (ended_ || !control.visible || !control.enabled || !Clickable(control.kind)) return false;
  if (control.kind == ControlKind::AutoCheckBox) {
    control.check = control.check == 0 ? 1 : 0;
  } else if (control.kind == ControlKind::AutoRadioButton) {
    // The dialog's radio buttons form one automatic group.
    for (auto& [otherId, other] : controls_) {
      if (other.kind == ControlKind::AutoRadioButton) other.check = otherId == id ? 1 : 0;
    }
  }
  if (events_) events_->Clicked(id);
  return true;
}

bool MemoryDialogView::SelectEntry(int id, int index) {
  ControlState& list = List(id);
  if (ended_ || !list.visible || !list.enabled || index < 0 ||
      index >= static_cast<int>(list.entries.size())) {
    return false;
  }
  list.selection = index;
  if (events_) events_->SelectionChanged(id);
  return true;
}

bool MemoryDialogView::Cancel() {
  // The cancel command is the Close button's: while it is disabled, Esc and the close box
  // do nothing either (nobody may walk away from a flash in progress).
  const auto close = controls_.find(kCloseButton);
  if (ended_ || (close != controls_.end() && !close->second.enabled)) return false;
  if (events_) events_->CancelCommand();
  return true;
}

}  // namespace zentor::ui
