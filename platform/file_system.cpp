// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/file_system.h"

namespace zentor::platform {

std::int64_t ReadFully(File& file, std::span<std::uint8_t> into) {
  std::size_t total = 0;
  while (total < into.size()) {
    const std::int64_t count = file.Read(into.subspan(total));
    if (count < 0) return -1;
    if (count == 0) break;
    total += static_cast<std::size_t>(count);
  }
  return static_cast<std::int64_t>(total);
}

}  // namespace zentor::platform
