// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <functional>
#include <string>

#include "app/drive_list_notice.h"
#include "app/exit_status.h"
#include "app/responsive_platform.h"
#include "app/starting_place.h"
#include "platform/file_system.h"
#include "platform/platform.h"
#include "resources/dialog_template.h"
#include "ui/flash_dialog.h"

namespace zentor::app {

// The window programs' application: the one dialog, run modally once over the machine and the
// working directory's files; the program ends when it closes. It reads no configuration or
// environment of its own; the one thing its command line may give is where to start, which
// is settled (MoveToStartingPlace) before the window system is started, so that a wrong
// path is refused even where no window can open.

// Runs the window in the template variant given, in the place given, on this system's
// window system (which must be started). Returns the exit status: kExitCompleted.
int RunWindow(platform::Platform& platform, platform::FileSystem& files,
              resources::TemplateLanguage language, const StartingPlace& place = {});

// Says why the window cannot start where it was asked: on stderr, and in a message box as
// well when `box` (the window system must then be started). Returns kExitUsage.
int RefuseStartingPlace(const std::string& program, const std::string& why, bool box);

// What RunWindow does on either window system, given its view and how the window system
// gets its turn while the drive is busy.
template <typename View>
int RunDialogIn(View& view, std::function<void()> letWindowSystemIn,
                platform::Platform& platform, platform::FileSystem& files,
                resources::TemplateLanguage language, const StartingPlace& place) {
  ResponsivePlatform responsive(platform, std::move(letWindowSystemIn));
  ui::FlashDialog dialog(view, files, responsive);
  view.Connect(&dialog);
  view.RunModal([&dialog, &place] { StartDialogAt(dialog, place); },
                [&dialog, language] { TellWhyNoDriveIsListed(dialog, language); });
  return kExitCompleted;
}

}  // namespace zentor::app
