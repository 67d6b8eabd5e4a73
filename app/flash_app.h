// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>

#include "platform/file_system.h"
#include "platform/platform.h"
#include "resources/dialog_template.h"

namespace zentor::app {

// The application: it builds the one dialog, runs it modally once and is done when the
// dialog closes; the program then ends. It reads no configuration or environment of its
// own; the one thing its command line may give is where to start.
class FlashApp {
 public:
  // Runs the dialog over the machine and the working directory's files in the template
  // variant given. Given a file or folder (see starting_place.h), it first moves there and
  // then selects the file; where it cannot, it says why on stderr and in a message box,
  // before any drive is looked at. Returns the program's exit status: 0, or 2 for a path
  // it could not start in.
  int Run(platform::Platform& platform, platform::FileSystem& files,
          resources::TemplateLanguage language, const std::string& startingPath = {});

  static constexpr int kExitBadPath = 2;
};

}  // namespace zentor::app
