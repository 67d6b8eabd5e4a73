// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/win32/template_in_memory.h"

#include <windows.h>
// after windows.h, which it builds on
#include <commctrl.h>

#include <string>

#include "platform/windows/wide_text.h"

namespace zentor::ui::win32 {

using platform::windows::Utf8;
using platform::windows::Wide;
namespace {

using resources::ControlKind;
namespace res = resources;

// The predefined classes as their atoms.
constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kEditAtom = 0x0081;
constexpr WORD kStaticAtom = 0x0082;
constexpr WORD kComboBoxAtom = 0x0085;

struct ControlClass {
  WORD atom = 0;  // 0: the class goes by name
  const wchar_t* name = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
};

// Modal frame plus client edge: the raised-and-sunken frame of the version and maker labels
// and the logo.
constexpr DWORD kRaisedFrameEx = WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE;

ControlClass ClassOf(const res::ControlTemplate& control) {
  const std::uint32_t style = control.style;
  switch (control.kind) {
    case ControlKind::PushButton:
    case ControlKind::DefaultPushButton: {
      DWORD button =
          control.kind == ControlKind::DefaultPushButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
      if (style & res::kCentred) button |= BS_CENTER;
      if (style & res::kCentredVertically) button |= BS_VCENTER;
      return {kButtonAtom, nullptr, button};
    }
    case ControlKind::AutoCheckBox:
      return {kButtonAtom, nullptr, BS_AUTOCHECKBOX};
    case ControlKind::AutoRadioButton:
      return {kButtonAtom, nullptr, BS_AUTORADIOBUTTON};
    case ControlKind::GroupBox:
      return {kButtonAtom, nullptr, BS_GROUPBOX};
    case ControlKind::StaticText: {
      // File names may hold an ampersand: shown as it is, never as a mnemonic.
      DWORD text = SS_NOPREFIX | ((style & res::kCentred) ? SS_CENTER : SS_LEFT);
      if (style & res::kCentredVertically) text |= SS_CENTERIMAGE;
      if (style & res::kSunken) text |= SS_SUNKEN;
      return {kStaticAtom, nullptr, text, (style & res::kRaisedFrame) ? kRaisedFrameEx : 0};
    }
    case ControlKind::Picture:
      return {kStaticAtom, nullptr, SS_BITMAP | ((style & res::kSunken) ? SS_SUNKEN : 0u),
              (style & res::kRaisedFrame) ? kRaisedFrameEx : 0};
    case ControlKind::DropDownList:
      // Sorted lists are kept in order by the view itself, by the same rule as every other
      // view, rather than by the system's locale-dependent comparison.
      return {kComboBoxAtom, nullptr, CBS_DROPDOWNLIST};
    case ControlKind::Edit: {
      DWORD edit = (style & res::kCentred) ? ES_CENTER : ES_LEFT;
      if (style & res::kMultiLine) edit |= ES_MULTILINE;
      if (style & res::kReadOnly) edit |= ES_READONLY;
      if (style & (res::kAutoHorizontalScroll | res::kPasswordChars)) edit |= ES_AUTOHSCROLL;
      if (style & res::kPasswordChars) edit |= ES_PASSWORD;
      return {kEditAtom, nullptr, edit, (style & res::kThinEdge) ? WS_EX_STATICEDGE : 0u};
    }
    case ControlKind::ProgressBar:
      return {0, PROGRESS_CLASSW, 0};
  }
  return {};
}

class Writer {
 public:
  void Word(WORD value) {
    bytes_.push_back(static_cast<std::uint8_t>(value));
    bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
  }
  void Dword(DWORD value) {
    Word(static_cast<WORD>(value));
    Word(static_cast<WORD>(value >> 16));
  }
  void Text(const std::wstring& text) {
    for (wchar_t c : text)
      Word(static_cast<WORD>(c));
    Word(0);
  }
  void AlignToDword() {
    while (bytes_.size() % 4)
      bytes_.push_back(0);
  }
  std::vector<std::uint8_t> Take() { return std::move(bytes_); }

 private:
  std::vector<std::uint8_t> bytes_;
};

}  // namespace

std::vector<std::uint8_t> TemplateInMemory(const res::DialogTemplate& dialog,
                                           res::TemplateLanguage language) {
  Writer out;
  // A modal frame with a title bar and a system menu, centred on the screen, in the
  // template's font; the main dialog can be minimised and is shown in the task bar.
  const bool main = dialog.id == res::kMainDialogTemplateId;
  out.Dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_3DLOOK |
            DS_CENTER | (main ? WS_MINIMIZEBOX : 0));
  out.Dword(main ? WS_EX_APPWINDOW : 0);
  out.Word(static_cast<WORD>(dialog.controls.size()));
  for (int value : {0, 0, dialog.width, dialog.height})
    out.Word(static_cast<WORD>(value));
  out.Word(0);  // no menu
  out.Word(0);  // the dialog class
  out.Text(Wide(dialog.caption));
  out.Word(static_cast<WORD>(dialog.fontPointSize));
  out.Text(Wide(res::TemplateFontName(language)));

  for (const res::ControlTemplate& control : dialog.controls) {
    const ControlClass kind = ClassOf(control);
    out.AlignToDword();
    DWORD style = WS_CHILD | WS_VISIBLE | kind.style;
    if (control.style & res::kTabStop) style |= WS_TABSTOP;
    if (control.style & res::kVerticalScroll) style |= WS_VSCROLL;
    if (control.style & res::kBorder) style |= WS_BORDER;
    out.Dword(style);
    out.Dword(kind.exStyle);
    for (int value : {control.x, control.y, control.width, control.height}) {
      out.Word(static_cast<WORD>(value));
    }
    out.Word(static_cast<WORD>(control.id));  // -1 is 0xFFFF, the id of "no id"
    if (kind.atom) {
      out.Word(0xFFFF);
      out.Word(kind.atom);
    } else {
      out.Text(kind.name);
    }
    out.Text(Wide(control.caption));
    out.Word(0);  // no creation data
  }
  return out.Take();
}

}  // namespace zentor::ui::win32
