// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <array>
#include <string_view>

#include "ui/wizard_step.h"

namespace zentor::ui {

// One text in both languages. English texts are plain ASCII; Japanese ones are UTF-8 here
// and all lie within code page 932, the character set the dialog's Japanese variant uses.
struct Texts {
  std::string_view english;
  std::string_view japanese;

  std::string_view In(int uiLanguage) const { return uiLanguage == kJapanese ? japanese : english; }
};

// What ShowStep writes on the Next/Start button for a step.
enum class NextCaption { Unchanged, Next, Start };

struct StepEntry {
  int step;
  Texts info;
  NextCaption caption;
  bool backEnabled;
};

// The catalogue entry of a step, or nullptr for the phase steps (5..10, whose text is the
// phase list) and for any value that is not a step.
const StepEntry* FindStepEntry(int step);

// The phase list of steps 5..10, in display order: line n is marked at step 5 + n.
const std::array<Texts, 6>& PhaseLines();
inline constexpr std::string_view kPhaseMarker = "    ";
inline constexpr std::string_view kCurrentPhaseMarker = ">> ";

// The fixed captions the language buttons set: the four labels, the backup check box,
// Close, Next/Start (its "Next" form) and Back, by control id.
Texts FixedCaption(int controlId);
Texts NextCaptionTexts(NextCaption caption);

}  // namespace zentor::ui
