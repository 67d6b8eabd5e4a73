#pragma once

#include "platform/file_system.h"
#include "platform/platform.h"
#include "resources/dialog_template.h"

namespace zentor::app {

// The application: it builds the one dialog, runs it modally once and is done when the
// dialog closes; the program then ends. It reads no command line, configuration or
// environment of its own.
class FlashApp {
 public:
  // Runs the dialog over the machine and the working directory's files in the template
  // variant given. Returns the result the dialog ended with (0 when its start failed).
  int Run(platform::Platform& platform, platform::FileSystem& files,
          resources::TemplateLanguage language);
};

}  // namespace zentor::app
