// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <ostream>
#include <vector>

#include "app/cli/cli_options.h"
#include "app/demo_machine.h"
#include "app/exit_status.h"
#include "platform/file_system.h"
#include "platform/platform.h"

namespace zentor::app::cli {

// Where the commands write: results and information texts to out; message boxes, notes and
// the progress bar to err (redrawn in place when err is a terminal).
struct CliStreams {
  std::ostream& out;
  std::ostream& err;
  bool liveProgress = false;
};

// Runs drives, files or update through the program's dialog, doing with it what a user
// would do, over the machine's drives and the working directory's files.
int RunDialogCommand(const CliOptions& options, platform::Platform& platform,
                     platform::FileSystem& files, CliStreams streams);

// Writes the sample files of the demo's drives, never replacing a file.
int WriteSamples(const std::vector<DemoDrive>& drives, platform::FileSystem& files,
                 CliStreams streams);

}  // namespace zentor::app::cli
