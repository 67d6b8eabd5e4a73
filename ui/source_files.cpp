// SPDX-License-Identifier: GPL-2.0-or-later
#include "firmware/file_identity.h"
#include "firmware/source_file_check.h"
#include "ui/control_ids.h"
#include "ui/flash_dialog.h"

namespace zentor::ui {

// Firmware files are stored ".vrl" or plain ".bin"; the names are matched without regard
// to case, so backups named CDRWFW00.VRL are listed as well.
std::vector<std::string> SourceFileNames(platform::FileSystem& files) {
  std::vector<std::string> names;
  for (const char* pattern : {"*.vrl", "*.bin"}) {
    for (std::string& name : files.ListFiles(pattern))
      names.push_back(std::move(name));
  }
  return names;
}

void FlashDialog::FillSourceFileEntries() {
  view_.ClearList(kSourceFileList);
  for (const std::string& name : SourceFileNames(files_))
    view_.AddListEntry(kSourceFileList, name);
}

void FlashDialog::SelectFirstSourceFile() {
  view_.SelectListEntry(kSourceFileList, 0);
  IdentifySourceFile();
}

void FlashDialog::FillSourceFileList() {
  FillSourceFileEntries();
  SelectFirstSourceFile();
}

void FlashDialog::IdentifySourceFile() {
  const std::string name = SelectedSourceFile();
  if (name.empty()) return;
  fileIdentText.clear();

  // The stamp comes before the reading: a file that changes meanwhile is read again next time.
  const std::optional<platform::FileStamp> stamp = files_.Stamp(name);
  const auto known = knownFiles_.find(name);
  firmware::SourceFileCheck check;
  if (stamp && known != knownFiles_.end() && known->second.stamp == *stamp) {
    check = known->second.check;
  } else {
    check = firmware::CheckSourceFile(files_, name);
    // A file that would not open may open next time.
    if (stamp && check.outcome != firmware::SourceCheck::CannotOpen) {
      knownFiles_[name] = {*stamp, check};
    }
  }
  switch (check.outcome) {
    case firmware::SourceCheck::CannotOpen:
      // Nothing of the earlier file may stay behind to be compared or loaded under this
      // name: Start with it must end before any block reaches the drive.
      firmware::ClearIdentity(*this);
      PushBoundFields();
      return;
    case firmware::SourceCheck::NoRow:
      firmware::ClearIdentity(*this);
      backupFileName.clear();
      view_.SetCheck(kBackupCheckBox, kUnchecked);
      PushBoundFields();
      return;
    case firmware::SourceCheck::Matched:
      firmware::TakeIdentity(*this, check.recognition);
      PushBoundFields();
      UpdateBackupName();
      return;
  }
}

}  // namespace zentor::ui
