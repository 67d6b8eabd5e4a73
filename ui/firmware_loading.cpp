// SPDX-License-Identifier: GPL-2.0-or-later
#include "firmware/file_error_text.h"
#include "firmware/image_loading.h"
#include "ui/flash_dialog.h"

namespace zentor::ui {

// The failures of loading the user hears about directly are a file that will not open and
// a file that no longer holds the image that was checked (the file-error box has no text
// of its own for that; it gets the one for an unknown error); every other one becomes the
// failed-update step of the caller.
int FlashDialog::LoadFirmwareImage(const std::string& name) {
  const firmware::ImageLoad load = firmware::LoadImageFile(*this, files_, name, driveFamily);
  if (load.openCause != firmware::kNoError || load.notTheSelectedImage) {
    const firmware::FileErrorCause cause =
        load.notTheSelectedImage ? firmware::kUnspecifiedError : load.openCause;
    view_.ShowMessageBox({firmware::FileErrorText(cause, name), applicationName,
                          MessageIcon::Exclamation, MessageButtons::Ok});
  }
  return load.loaded ? 1 : 0;
}

}  // namespace zentor::ui
