#include "firmware/backup_name.h"

#include <cstdio>

namespace zentor::firmware {

std::string BackupFileName(int number, bool scrambled) {
  char name[32];
  std::snprintf(name, sizeof name, "CDRWFW%02d%s", number, scrambled ? ".VRL" : ".BIN");
  return name;
}

std::optional<std::string> FreeBackupName(platform::FileSystem& files, bool scrambled) {
  for (int number = 0; number < kBackupNameCount; ++number) {
    std::string name = BackupFileName(number, scrambled);
    if (!files.OpenForReading(name).file) return name;
  }
  return std::nullopt;
}

}  // namespace zentor::firmware
