// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string_view>

namespace zentor::app::cli {

// What --help prints.
inline constexpr std::string_view kUsageText =
    R"(Usage: zentor-cli [--simulate] [--lang en|ja] [--json] COMMAND [OPTIONS]

Updates the firmware of an optical drive from a firmware file (.vrl or .bin) in the
current directory, doing exactly what a user of the zentor window would do.

Commands:
  drives            list the drives found, as the window lists them
  files             list the firmware files, each with a TAB and what the file is for
  update --drive D --file NAME [--backup]
                    update drive D (its index in the drive list, or the start of its
                    entry, such as cdrom1) with the file NAME; --backup saves the drive's
                    current firmware first, to CDRWFW00.VRL or .BIN (or the next
                    free number up to 09)
  samples           with --simulate only: write sample firmware files for the simulated
                    drives into the current directory (existing files are kept)

Options:
  --simulate        use the virtual drives of zentor-demo instead of the system's drives;
                    they take real time to erase and program
  --sim-refuse WHAT make the virtual drives refuse a command: update-mode, block or
                    flash-start (to watch a failing update), or be in-use elsewhere
  --lang en|ja      the language of the texts (English by default)
  --json            drives and files: one JSON array; update: JSON Lines, one object
                    per event, the last the result (see zentor-cli(1))
  -h, --help        show this text
  -V, --version     show the version

The information texts go to standard output as they change; progress, message boxes
and notes go to standard error (with --json, all of the update's news go to standard
output). A listing that finds nothing says so on standard error. Exit status: 0 the update completed (or the listing
succeeded), 1 the update did not complete, 2 the command line names something that is
not there, 3 the program could not start.

Real drives need read-write access to their generic SCSI node (/dev/sgN) or root on
Linux, and a command prompt started as administrator on Windows.
Never interrupt an update: ctrl-C is refused while it runs. Sleep, log-off and shutdown
are held off while it runs, as far as the system allows: Windows keeps only idle sleep
away, and no program can refuse a user's Sleep, a closed lid or the power button there,
so keep the machine on mains power and its lid open until the update has ended.
)";

}  // namespace zentor::app::cli
