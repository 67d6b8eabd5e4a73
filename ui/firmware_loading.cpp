#include "firmware/file_error_text.h"
#include "firmware/image_loading.h"
#include "ui/flash_dialog.h"

namespace zentor::ui {

// The only failure of loading the user hears about directly is a file that will not open;
// every other one becomes the failed-update step of the caller.
int FlashDialog::LoadFirmwareImage(const std::string& name) {
  const firmware::ImageLoad load = firmware::LoadImageFile(*this, files_, name, driveFamily);
  if (load.openError != 0) {
    view_.ShowMessageBox({firmware::FileErrorText(firmware::CauseOfOpenError(load.openError), name),
                          applicationName, MessageIcon::Exclamation, MessageButtons::Ok});
  }
  return load.loaded ? 1 : 0;
}

}  // namespace zentor::ui
