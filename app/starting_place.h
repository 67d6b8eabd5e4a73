// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>

#include "platform/file_system.h"
#include "ui/flash_dialog.h"

namespace zentor::app {

// Where the window starts when it is handed a file or a folder (a firmware file opened from
// the file manager or dropped on the program): it works in that folder, where the firmware
// files are read and the backup is written, and selects that file.
struct StartingPlace {
  std::string file;   // the file to select; empty for a folder
  std::string error;  // why the window cannot start there; empty when it can
};

// Makes the folder named, or the named file's folder, the working directory, and checks
// that the file is one the list shows. Nothing to do for an empty path.
StartingPlace MoveToStartingPlace(const std::string& path, platform::FileSystem& files);

// The dialog's start, then the place's file selected in the source list as a user would.
void StartDialogAt(ui::FlashDialog& dialog, const StartingPlace& place);

}  // namespace zentor::app
