// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/application_name.h"

#include <filesystem>

namespace zentor::ui {

std::string ApplicationNameOf(std::string_view programFilePath) {
  const std::string stem = std::filesystem::path(programFilePath).stem().string();
  return stem.empty() ? "zentor" : stem;
}

}  // namespace zentor::ui
