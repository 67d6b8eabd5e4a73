// SPDX-License-Identifier: GPL-2.0-or-later
// The version information of the program, linked into each program file (never into a
// library) so that the file on disk carries it. The section name is the one the platform
// layer reads back (platform/program_file.h).

namespace zentor::resources {

[[gnu::used, gnu::section(".zentor.version")]] extern const char kVersionResource[] =
    "\\StringFileInfo\\040904b0\\CompanyName\0Varel Co. ,Ltd.\0"
    "\\StringFileInfo\\040904b0\\FileDescription\0Zentor firmware update program\0"
    "\\StringFileInfo\\040904b0\\ProductName\0Zentor\0"
    "\\StringFileInfo\\040904b0\\ProductVersion\08.515\0";

}  // namespace zentor::resources
