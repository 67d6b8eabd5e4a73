// SPDX-License-Identifier: GPL-2.0-or-later
#include "resources/dialog_template.h"

namespace zentor::resources {
namespace {

using enum ControlKind;

// Template 102, the main dialog. Captions that the program replaces at run time are empty.
// clang-format off
constexpr ControlTemplate kMainControls[] = {
    // id    kind               x    y    w    h   style                                   caption
    {2,    DefaultPushButton, 226, 145, 40,  19, kTabStop, ""},
    {1003, PushButton,        226, 198, 40,  18, kTabStop, ""},
    {1011, StaticText,        7,   41,  61,  8,  0, ""},
    {1000, DropDownList,      7,   53,  195, 162, kVerticalScroll | kTabStop, ""},
    {1012, StaticText,        7,   73,  74,  10, 0, ""},
    {1001, DropDownList,      7,   85,  69,  130, kSorted | kVerticalScroll | kTabStop, ""},
    {1004, AutoCheckBox,      7,   111, 90,  10, kTabStop, ""},
    {1030, StaticText,        215, 7,   69,  17, kCentred | kCentredVertically | kRaisedFrame, ""},
    {1006, Edit,              7,   142, 194, 74,
     kMultiLine | kReadOnly | kAutoHorizontalScroll | kBorder, ""},
    {1007, ProgressBar,       7,   233, 276, 9,  kBorder, ""},
    {1014, StaticText,        7,   222, 41,  8,  0, ""},
    {1013, StaticText,        7,   129, 62,  10, 0, ""},
    {1015, AutoRadioButton,   228, 82,  37,  10, 0, "English"},
    {1016, AutoRadioButton,   228, 94,  44,  10, 0, "Japanese"},
    {-1,   GroupBox,          224, 74,  50,  34, 0, ""},
    {1018, StaticText,        78,  85,  122, 13, kCentred | kSunken, ""},
    {1019, StaticText,        101, 111, 99,  13, kCentred | kSunken, ""},
    {1028, StaticText,        215, 51,  69,  17, kCentred | kCentredVertically | kRaisedFrame,
     "Varel Co. ,Ltd."},
    {1027, Picture,           215, 25,  69,  25, kSunken | kRaisedFrame, ""},
    {1020, AutoCheckBox,      228, 111, 47,  10, 0, "Pass Type"},
    {1021, AutoCheckBox,      228, 123, 58,  10, kTabStop, "Update Loader"},
    {1022, PushButton,        226, 171, 40,  19, kCentred | kCentredVertically | kTabStop, ""},
    {1026, Edit,              7,   7,   194, 19, kMultiLine | kCentred | kReadOnly | kThinEdge | kTabStop,
     ""},
};
// clang-format on

// Template 134, the password dialog: one masked edit, no buttons (Enter is OK, Esc cancel).
constexpr ControlTemplate kPasswordControls[] = {
    {1025, Edit, 7, 7, 61, 14, kBorder | kTabStop | kPasswordChars, ""},
};

constexpr DialogTemplate kMainDialog = {kMainDialogTemplateId, "Zentor", 291, 259, 9,
                                        kMainControls};
constexpr DialogTemplate kPasswordDialog = {kPasswordDialogTemplateId, "Password", 75, 33, 9,
                                            kPasswordControls};

}  // namespace

std::string_view TemplateFontName(TemplateLanguage language) {
  return language == TemplateLanguage::Japanese ? "ＭＳ Ｐゴシック" : "Arial";
}

const DialogTemplate& MainDialogTemplate() {
  return kMainDialog;
}
const DialogTemplate& PasswordDialogTemplate() {
  return kPasswordDialog;
}

const ControlTemplate* FindControl(const DialogTemplate& dialog, int id) {
  for (const ControlTemplate& control : dialog.controls) {
    if (control.id == id) return &control;
  }
  return nullptr;
}

}  // namespace zentor::resources
