// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zentor::app::cli {

// The drive the user means: an index into the list when the text is a number, else the one
// entry that starts with the text. "cdrom1" means "cdrom1 : ..." and not "cdrom10 : ...": a
// match that ends where a word ends wins over the others. Nothing when no single entry fits.
std::optional<int> ResolveDrive(const std::string& wanted, const std::vector<std::string>& list);

}  // namespace zentor::app::cli
