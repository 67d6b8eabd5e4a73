// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

namespace zentor::app {

// The exit statuses of all three programs, so that a script reads them alike.
inline constexpr int kExitCompleted = 0;     // done; for an update: the update completed
inline constexpr int kExitNotCompleted = 1;  // the update ended in another step
// The command line asks for something absent or wrong: an unknown option or command, a
// drive or file that is not there, a place the window cannot start in.
inline constexpr int kExitUsage = 2;
inline constexpr int kExitStartupFailed = 3;  // zentor-cli: the dialog could not start

}  // namespace zentor::app
