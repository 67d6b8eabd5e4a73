#include "app/starting_place.h"

#include <algorithm>
#include <filesystem>

#include "ui/control_ids.h"

namespace zentor::app {

StartingPlace MoveToStartingPlace(const std::string& path, platform::FileSystem& files) {
  if (path.empty()) return {};
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (!fs::exists(status)) return {{}, "no such file or folder: " + path};
  const bool folder = fs::is_directory(status);
  const fs::path where = folder ? fs::path(path) : fs::absolute(path, error).parent_path();
  fs::current_path(where, error);
  if (error) return {{}, "cannot work in " + where.string() + ": " + error.message()};
  if (folder) return {};
  const std::string file = fs::path(path).filename().string();
  const std::vector<std::string> listed = ui::SourceFileNames(files);
  if (std::ranges::find(listed, file) == listed.end()) {
    return {{}, path + " is not a firmware file the window lists (*.vrl, *.bin)"};
  }
  return {file, {}};
}

void SelectStartingFile(ui::FlashDialog& dialog, const std::string& file) {
  ui::DialogView& view = dialog.view();
  for (int i = 0; i < view.ListCount(ui::kSourceFileList); ++i) {
    if (view.ListEntry(ui::kSourceFileList, i) != file) continue;
    view.SelectListEntry(ui::kSourceFileList, i);
    dialog.SelectionChanged(ui::kSourceFileList);
    return;
  }
}

}  // namespace zentor::app
