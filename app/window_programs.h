// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "app/window_options.h"

namespace zentor::app {

// What the two window programs say of themselves in their help, on every system alike but
// for how a drive is reached.
#ifdef _WIN32
inline constexpr const char* kReachingADrive =
    "Reaching a drive takes an administrator, which Windows asks for at the start.\n";
#else
inline constexpr const char* kReachingADrive =
    "The drive needs read-write access to its generic node (/dev/sgN), or root; see\n"
    "zentor(1).\n";
#endif

inline const WindowProgram kZentorWindow{
    "zentor",
    std::string("Rewrites the firmware of a supported optical disc drive. Choose the drive and a\n"
                "firmware file (.vrl or .bin) of the current folder, tick \"Back Up current F/W\"\n"
                "to save the drive's firmware there first, and press Start.\n") +
        kReachingADrive +
        "Given a firmware file or a folder (a .vrl file opened with Zentor, or dropped on\n"
        "the program), the window works in that folder instead and chooses the file."};

inline const WindowProgram kDemoWindow{
    "zentor-demo",
    "The zentor window over virtual drives: a complete firmware update, with a backup\n"
    "if asked, tried without hardware. It works in a fresh temporary folder with\n"
    "sample firmware files, removed when the window closes; no real drive is touched."};

}  // namespace zentor::app
