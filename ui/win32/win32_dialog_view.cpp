// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/win32/win32_dialog_view.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "platform/machine_keeper.h"
#include "platform/windows/wide_text.h"
#include "ui/control_ids.h"
#include "ui/list_order.h"
#include "ui/win32/password_prompt.h"
#include "ui/win32/pictures.h"
#include "ui/win32/template_in_memory.h"

namespace zentor::ui::win32 {

using platform::windows::Utf8;
using platform::windows::Wide;
namespace {

using resources::ControlKind;

// Posted to the dialog once its modal loop runs: the work to do over the visible window.
constexpr UINT kShownMessage = WM_APP + 1;

bool IsUserInput(UINT message) {
  return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
         (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
         (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

UINT IconFlag(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Stop:
      return MB_ICONSTOP;
    case MessageIcon::Exclamation:
      return MB_ICONEXCLAMATION;
    case MessageIcon::Information:
      return MB_ICONINFORMATION;
    case MessageIcon::None:
      break;
  }
  return 0;
}

const resources::ControlTemplate& Template(int id) {
  const resources::ControlTemplate* control =
      resources::FindControl(resources::MainDialogTemplate(), id);
  if (!control) throw std::out_of_range("no control " + std::to_string(id));
  return *control;
}

// A multi-line edit breaks lines only at CR LF.
std::wstring WithCrLf(const std::wstring& text) {
  std::wstring out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) out += L'\r';
    out += text[i];
  }
  return out;
}

}  // namespace

Win32DialogView::Win32DialogView(resources::TemplateLanguage language) : language_(language) {
  const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX),
                                     ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&classes);
  const std::vector<std::uint8_t> bytes =
      TemplateInMemory(resources::MainDialogTemplate(), language);
  window_ = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                       reinterpret_cast<const DLGTEMPLATE*>(bytes.data()), nullptr,
                                       DialogProcedure, reinterpret_cast<LPARAM>(this));
  if (!window_) {
    throw std::runtime_error("the dialog window cannot be made (error " +
                             std::to_string(GetLastError()) + ")");
  }
}

Win32DialogView::~Win32DialogView() {
  DestroyWindow(window_);
  if (largeIcon_) DestroyIcon(largeIcon_);
  if (smallIcon_) DestroyIcon(smallIcon_);
  if (picture_) DeleteObject(picture_);
}

INT_PTR CALLBACK Win32DialogView::DialogProcedure(HWND window, UINT message, WPARAM wParam,
                                                  LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, GWLP_USERDATA, lParam);
    return TRUE;  // the focus goes to the first tab stop
  }
  auto* self = reinterpret_cast<Win32DialogView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  return self ? self->Handle(message, wParam, lParam) : FALSE;
}

INT_PTR Win32DialogView::Handle(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_COMMAND:
      Command(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_CLOSE:  // the close box, Alt+F4
      Cancel();
      return TRUE;
    case WM_QUERYENDSESSION:
      // Refused while the dialog works: a log-off or shutdown now could cut a flash.
      SetWindowLongPtrW(window_, DWLP_MSGRESULT, busy() ? FALSE : TRUE);
      return TRUE;
    case WM_PAINT:
      if (!IsIconic(window_)) return FALSE;
      PaintMinimised();
      return TRUE;
    case WM_QUERYDRAGICON:
      return reinterpret_cast<INT_PTR>(largeIcon_);
    case kShownMessage:
      if (shown_) Dispatch(shown_);
      return TRUE;
    default:
      return FALSE;
  }
}

void Win32DialogView::Command(int id, int notification) {
  // Nothing the user does reaches the dialog while its own code runs. (A click sent to a
  // disabled button still arrives here, so its state is looked at too.)
  if (busy() || !events_) return;
  if (id == kCloseButton) {
    if (notification == BN_CLICKED) Cancel();
    return;
  }
  const resources::ControlTemplate* control =
      resources::FindControl(resources::MainDialogTemplate(), id);
  if (!control) return;
  if (control->kind == ControlKind::DropDownList) {
    if (notification == CBN_SELCHANGE) Dispatch([this, id] { events_->SelectionChanged(id); });
  } else if (notification == BN_CLICKED && IsWindowEnabled(Control(id))) {
    Dispatch([this, id] { events_->Clicked(id); });
  }
}

// Esc, the close box and the Close button: the dialog's cancel command, and nothing while
// the Close button is disabled or the dialog works.
void Win32DialogView::Cancel() {
  if (busy() || !events_ || !IsWindowEnabled(Control(kCloseButton))) return;
  Dispatch([this] { events_->CancelCommand(); });
}

void Win32DialogView::Dispatch(const std::function<void()>& work) {
  HWND focus = nullptr;
  if (holds_++ == 0) {
    focus = GetFocus();
    EnableWindow(window_, FALSE);
    // What Windows shows beside the program when a log-off or shutdown waits for it.
    ShutdownBlockReasonCreate(window_, Wide(language_ == resources::TemplateLanguage::Japanese
                                                ? platform::kKeepUpReasonJapanese
                                                : platform::kKeepUpReason)
                                           .c_str());
  }
  struct Release {
    Win32DialogView& view;
    HWND focus;
    ~Release() {
      if (--view.holds_ > 0) return;
      ShutdownBlockReasonDestroy(view.window_);
      EnableWindow(view.window_, TRUE);
      // The focus goes back where it was, or on to the next tab stop when that control
      // can no longer take it.
      if (focus && IsChild(view.window_, focus) && IsWindowEnabled(focus)) {
        SendMessageW(view.window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focus), TRUE);
      } else if (focus) {
        SendMessageW(view.window_, WM_NEXTDLGCTL, 0, FALSE);
      }
    }
  } release{*this, focus};
  work();
}

bool Win32DialogView::Start(const std::function<void()>& start) {
  Dispatch(start);
  if (ended_) return false;
  ShowWindow(window_, SW_SHOW);
  SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(kCloseButton)), TRUE);
  UpdateWindow(window_);
  return true;
}

int Win32DialogView::RunModal(const std::function<void()>& start,
                              const std::function<void()>& shown) {
  if (!Start(start)) return endResult_;
  shown_ = shown;
  if (shown_) PostMessageW(window_, kShownMessage, 0, 0);
  MSG message;
  while (!ended_ && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window_, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return endResult_;
}

void Win32DialogView::LetWindowSystemIn() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (IsUserInput(message.message)) continue;
    DispatchMessageW(&message);
  }
}

void Win32DialogView::EndDialog(int result) {
  ended_ = true;
  endResult_ = result;
  ShowWindow(window_, SW_HIDE);
  PostMessageW(window_, WM_NULL, 0, 0);  // wakes the modal loop, which then ends
}

void Win32DialogView::PaintMinimised() {
  PAINTSTRUCT paint;
  HDC context = BeginPaint(window_, &paint);
  SendMessageW(window_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(context), 0);
  const int width = GetSystemMetrics(SM_CXICON), height = GetSystemMetrics(SM_CYICON);
  RECT client;
  GetClientRect(window_, &client);
  DrawIcon(context, (client.right - client.left - width + 1) / 2,
           (client.bottom - client.top - height + 1) / 2, largeIcon_);
  EndPaint(window_, &paint);
}

void Win32DialogView::SetText(int id, std::string_view text) {
  texts_[id] = std::string(text);
  std::wstring wide = Wide(text);
  if (Template(id).kind == ControlKind::Edit) wide = WithCrLf(wide);
  SetDlgItemTextW(window_, id, wide.c_str());
}

// Every control the program writes is read-only for the user, so the text last set is what
// the control holds.
std::string Win32DialogView::Text(int id) const {
  const auto found = texts_.find(id);
  if (found != texts_.end()) return found->second;
  return std::string(Template(id).caption);
}

void Win32DialogView::SetCheck(int id, int state) {
  CheckDlgButton(window_, id, state != kUnchecked ? BST_CHECKED : BST_UNCHECKED);
}
int Win32DialogView::Check(int id) const {
  return IsDlgButtonChecked(window_, id) == BST_CHECKED ? kChecked : kUnchecked;
}
void Win32DialogView::SetEnabled(int id, bool enabled) {
  EnableWindow(Control(id), enabled);
}
bool Win32DialogView::IsEnabled(int id) const {
  return IsWindowEnabled(Control(id));
}
void Win32DialogView::SetVisible(int id, bool visible) {
  ShowWindow(Control(id), visible ? SW_SHOWNA : SW_HIDE);
}
bool Win32DialogView::IsVisible(int id) const {
  return (GetWindowLongW(Control(id), GWL_STYLE) & WS_VISIBLE) != 0;
}

void Win32DialogView::ClearList(int id) {
  SendDlgItemMessageW(window_, id, CB_RESETCONTENT, 0, 0);
}

int Win32DialogView::AddListEntry(int id, std::string_view text) {
  int index = -1;  // appended
  if (Template(id).style & resources::kSorted) {
    const int count = ListCount(id);
    index = 0;
    while (index < count && !ListOrderLess(text, ListEntry(id, index)))
      ++index;
  }
  const std::wstring wide = Wide(text);
  return static_cast<int>(SendDlgItemMessageW(window_, id, CB_INSERTSTRING,
                                              static_cast<WPARAM>(index),
                                              reinterpret_cast<LPARAM>(wide.c_str())));
}

int Win32DialogView::ListCount(int id) const {
  return static_cast<int>(SendDlgItemMessageW(window_, id, CB_GETCOUNT, 0, 0));
}

std::string Win32DialogView::ListEntry(int id, int index) const {
  const LRESULT length = SendDlgItemMessageW(window_, id, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR) return {};
  std::wstring entry(static_cast<std::size_t>(length) + 1, L'\0');
  SendDlgItemMessageW(window_, id, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(entry.data()));
  entry.resize(static_cast<std::size_t>(length));
  return Utf8(entry);
}

void Win32DialogView::SelectListEntry(int id, int index) {
  if (index < 0 || index >= ListCount(id)) index = -1;
  SendDlgItemMessageW(window_, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int Win32DialogView::ListSelection(int id) const {
  return static_cast<int>(SendDlgItemMessageW(window_, id, CB_GETCURSEL, 0, 0));
}

void Win32DialogView::SetTitle(std::string_view title) {
  SetWindowTextW(window_, Wide(title).c_str());
}

void Win32DialogView::SetIcons(int iconResource) {
  HICON large = IconResource(iconResource, GetSystemMetrics(SM_CXICON));
  HICON small = IconResource(iconResource, GetSystemMetrics(SM_CXSMICON));
  SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large));
  SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  if (largeIcon_) DestroyIcon(largeIcon_);
  if (smallIcon_) DestroyIcon(smallIcon_);
  largeIcon_ = large;
  smallIcon_ = small;
}

void Win32DialogView::SetPicture(int id, int bitmapResource) {
  HBITMAP bitmap = BitmapResource(bitmapResource);
  SendDlgItemMessageW(window_, id, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
  if (picture_) DeleteObject(picture_);
  picture_ = bitmap;
  // The control takes the bitmap's size inside its frame.
  BITMAP size{};
  GetObjectW(bitmap, sizeof size, &size);
  HWND picture = Control(id);
  RECT outer, inner;
  GetWindowRect(picture, &outer);
  GetClientRect(picture, &inner);
  const int frameWidth = (outer.right - outer.left) - inner.right;
  const int frameHeight = (outer.bottom - outer.top) - inner.bottom;
  SetWindowPos(picture, nullptr, 0, 0, size.bmWidth + frameWidth, size.bmHeight + frameHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

ControlSize Win32DialogView::SizeOfControl(int id) const {
  RECT place;
  GetWindowRect(Control(id), &place);
  return {place.right - place.left, place.bottom - place.top};
}

void Win32DialogView::ResizeControl(int id, ControlSize size) {
  SetWindowPos(Control(id), nullptr, 0, 0, size.width, size.height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32DialogView::SetProgressRange(int id, int low, int high) {
  SendDlgItemMessageW(window_, id, PBM_SETRANGE32, static_cast<WPARAM>(low), high);
}

void Win32DialogView::SetProgressPosition(int id, int position) {
  SendDlgItemMessageW(window_, id, PBM_SETPOS, static_cast<WPARAM>(position), 0);
  // A transfer moves the bar many times between sleeps; each move is a chance to answer
  // the system.
  UpdateWindow(Control(id));
  LetWindowSystemIn();
}

int Win32DialogView::ShowMessageBox(const MessageBoxRequest& request) {
  MessageBoxW(ended_ ? nullptr : window_, WithCrLf(Wide(request.text)).c_str(),
              Wide(request.caption).c_str(), MB_OK | IconFlag(request.icon));
  return kMessageBoxOk;
}

PasswordAnswer Win32DialogView::RunPasswordDialog(int maxLength) {
  return RunPasswordPrompt(window_, language_, maxLength);
}

void Win32DialogView::RepaintNow() {
  if (IsWindowVisible(window_)) {
    RedrawWindow(window_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
  LetWindowSystemIn();
}

}  // namespace zentor::ui::win32
