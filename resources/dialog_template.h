// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace zentor::resources {

// The dialogs are described as data, the way a resource compiler would hold them: each
// control with its id, kind, place and size in dialog units, style and template caption.
// Both the real window and the in-memory view are built from these records.

enum class ControlKind {
  PushButton,
  DefaultPushButton,
  StaticText,
  DropDownList,
  AutoCheckBox,
  AutoRadioButton,
  Edit,
  ProgressBar,
  GroupBox,
  Picture,
};

// Style bits a view needs to render a control faithfully.
enum ControlStyle : std::uint32_t {
  kTabStop = 1u << 0,
  kVerticalScroll = 1u << 1,
  kSorted = 1u << 2,
  kMultiLine = 1u << 3,
  kReadOnly = 1u << 4,
  kAutoHorizontalScroll = 1u << 5,
  kBorder = 1u << 6,
  kCentred = 1u << 7,
  kCentredVertically = 1u << 8,
  kRaisedFrame = 1u << 9,  // modal frame plus client edge
  kSunken = 1u << 10,
  kThinEdge = 1u << 11,
  kPasswordChars = 1u << 12,
};

struct ControlTemplate {
  int id;  // -1 for a control the program never addresses
  ControlKind kind;
  int x, y, width, height;
  std::uint32_t style;
  std::string_view caption;
};

struct DialogTemplate {
  int id;
  std::string_view caption;
  int width, height;
  int fontPointSize;
  std::span<const ControlTemplate> controls;  // in tab order
};

// The templates exist in an English and a Japanese variant that differ only in the font.
enum class TemplateLanguage { English, Japanese };
std::string_view TemplateFontName(TemplateLanguage language);

inline constexpr int kMainDialogTemplateId = 102;
inline constexpr int kPasswordDialogTemplateId = 134;
const DialogTemplate& MainDialogTemplate();
const DialogTemplate& PasswordDialogTemplate();

// The record of one control, or nullptr when the template has no control with that id.
const ControlTemplate* FindControl(const DialogTemplate& dialog, int id);

}  // namespace zentor::resources
