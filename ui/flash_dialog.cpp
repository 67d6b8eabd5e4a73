#include "ui/flash_dialog.h"

#include "ui/control_ids.h"

namespace zentor::ui {
namespace {

struct ClickHandler {
  int controlId;
  void (FlashDialog::*handler)();
};

// What a click runs. A selection in the target list runs nothing: the Start action reads
// the selected drive when it begins.
constexpr ClickHandler kClickHandlers[] = {
    {kEnglishRadio, &FlashDialog::SetEnglishTexts},
    {kJapaneseRadio, &FlashDialog::SetJapaneseTexts},
    {kNextStartButton, &FlashDialog::OnNextStart},
    {kBackButton, &FlashDialog::GoBack},
    {kPassTypeCheckBox, &FlashDialog::ConfirmPassType},
};

}  // namespace

void FlashDialog::Clicked(int id) {
  for (const ClickHandler& row : kClickHandlers) {
    if (row.controlId == id) (this->*row.handler)();
  }
}

void FlashDialog::SelectionChanged(int /*id*/) {
  // The source list's handler comes with the firmware file loader.
}

void FlashDialog::CancelCommand() {
  view_.EndDialog(kCancelResult);
}

}  // namespace zentor::ui
