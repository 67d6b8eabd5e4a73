// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/starting_place.h"

#include <algorithm>
#include <filesystem>

#include "platform/name_case.h"
#include "platform/utf8_path.h"
#include "ui/control_ids.h"

namespace zentor::app {

// The path and every name stay UTF-8 on their way through std::filesystem, whatever the
// system's code page.
StartingPlace MoveToStartingPlace(const std::string& path, platform::FileSystem& files) {
  if (path.empty()) return {};
  namespace fs = std::filesystem;
  using platform::Utf8OfPath;
  std::error_code error;
  const fs::path given = platform::PathOfUtf8(path);
  const fs::file_status status = fs::status(given, error);
  if (!fs::exists(status)) return {{}, "no such file or folder: " + path};
  const bool folder = fs::is_directory(status);
  const fs::path full = fs::absolute(given, error);  // before the working directory moves
  const fs::path where = folder ? full : full.parent_path();
  fs::current_path(where, error);
  if (error) return {{}, "cannot work in " + Utf8OfPath(where) + ": " + error.message()};
  if (folder) return {};
  const std::string file = Utf8OfPath(given.filename());
  const std::vector<std::string> listed = ui::SourceFileNames(files);
  // The name as listed; on Windows a name typed in other letter cases names the same file.
  auto found = std::ranges::find(listed, file);
  if (found == listed.end()) {
    found = std::ranges::find_if(listed, [&](const std::string& name) {
      return platform::EqualIgnoringCase(name, file) &&
             fs::equivalent(platform::PathOfUtf8(name), full, error);
    });
  }
  if (found == listed.end()) {
    return {{}, path + " is not a firmware file the window lists (*.vrl, *.bin)"};
  }
  return {*found, {}};
}

void StartDialogAt(ui::FlashDialog& dialog, const StartingPlace& place) {
  if (!dialog.InitDialog() || place.file.empty()) return;
  ui::DialogView& view = dialog.view();
  for (int i = 0; i < view.ListCount(ui::kSourceFileList); ++i) {
    if (view.ListEntry(ui::kSourceFileList, i) != place.file) continue;
    view.SelectListEntry(ui::kSourceFileList, i);
    dialog.SelectionChanged(ui::kSourceFileList);
    return;
  }
}

}  // namespace zentor::app
