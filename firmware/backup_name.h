// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <optional>
#include <string>

#include "platform/file_system.h"

namespace zentor::firmware {

// Backups are named CDRWFW00 .. CDRWFW09, ".VRL" when the file's row is stored scrambled
// (the backup is then in the same stored form and can be flashed back), ".BIN" otherwise.
inline constexpr int kBackupNameCount = 10;
std::string BackupFileName(int number, bool scrambled);

// The first of the ten names, from the number `from` on, that no file has, without regard
// to case, or nothing when all are taken. Only the given extension is looked at.
std::optional<std::string> FreeBackupName(platform::FileSystem& files, bool scrambled,
                                          int from = 0);

// The free name after one that was taken since it was chosen (another program, or a second
// copy of this one, wrote it meanwhile): the next free number with the same extension, or
// nothing when none is left.
std::optional<std::string> NextFreeBackupName(platform::FileSystem& files,
                                              const std::string& taken);

}  // namespace zentor::firmware
