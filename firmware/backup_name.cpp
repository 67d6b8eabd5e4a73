// SPDX-License-Identifier: GPL-2.0-or-later
#include "firmware/backup_name.h"

#include <cstdio>

namespace zentor::firmware {

std::string BackupFileName(int number, bool scrambled) {
  char name[32];
  std::snprintf(name, sizeof name, "CDRWFW%02d%s", number, scrambled ? ".VRL" : ".BIN");
  return name;
}

// A name is taken when a file answers to it without regard to case, as the source-file
// list sees names, or when it opens: cdrwfw00.vrl and CDRWFW00.VRL would otherwise be two
// backups listed under one number. A file of the name that exists but cannot be read is
// taken too, so that the backup never replaces a file its user could not even read.
std::optional<std::string> FreeBackupName(platform::FileSystem& files, bool scrambled, int from) {
  for (int number = from; number < kBackupNameCount; ++number) {
    std::string name = BackupFileName(number, scrambled);
    if (files.ListFiles(name).empty() && !files.OpenForReading(name).file) return name;
  }
  return std::nullopt;
}

std::optional<std::string> NextFreeBackupName(platform::FileSystem& files,
                                              const std::string& taken) {
  for (int number = 0; number < kBackupNameCount; ++number) {
    for (const bool scrambled : {false, true}) {
      if (taken == BackupFileName(number, scrambled))
        return FreeBackupName(files, scrambled, number + 1);
    }
  }
  return std::nullopt;
}

}  // namespace zentor::firmware
