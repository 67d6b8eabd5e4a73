// SPDX-License-Identifier: GPL-2.0-or-later
#include "firmware/scrambling_keys.h"

namespace zentor::firmware {
namespace {

// xorshift32 with the product's seed; each step yields the top byte of the state.
class KeyGenerator {
 public:
  constexpr std::uint8_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<std::uint8_t>(state_ >> 24);
  }

 private:
  std::uint32_t state_ = 0x5A454E54;
};

struct KeyData {
  AdditiveKeyTable additive{};
  std::array<BlockKeyTable, 4> block{};
};

consteval KeyData GenerateKeys() {
  KeyGenerator generator;
  KeyData keys;
  for (auto& byte : keys.additive)
    byte = generator.Next();
  for (auto& table : keys.block) {
    for (auto& byte : table)
      byte = generator.Next();
  }
  return keys;
}

constexpr KeyData kKeys = GenerateKeys();

}  // namespace

const AdditiveKeyTable AdditiveKey = kKeys.additive;
// On a cache line of its own, so the vector loads of the key never straddle two lines.
alignas(64) const std::array<BlockKeyTable, 4> BlockKey = kKeys.block;

}  // namespace zentor::firmware
