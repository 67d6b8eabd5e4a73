// SPDX-License-Identifier: GPL-2.0-or-later
// An ASPI manager library that lacks SendASPI32Command: the loader must refuse it and
// unload it again. Kept free of anything that would pin it in memory, so a test can see
// that it is really gone.
#include <cstdint>

extern "C" __attribute__((visibility("default"))) std::uint32_t GetASPI32SupportInfo() {
  return 0x0101;
}
