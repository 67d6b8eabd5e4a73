#pragma once

#include <cstdint>
#include <random>
#include <string_view>

#include "firmware/image_layout.h"

namespace zentor::firmware::testing {

// A 1 MiB image of random bytes with the erased region 0x4000..0x7FFF all 0xFF, as every
// image of the packed families has it. `code` is written at 0x8004 when given.
inline ImageBytes RandomImage(std::uint32_t seed, std::string_view code = {}) {
  std::mt19937 random(seed);
  ImageBytes image(kImageSize);
  for (auto& byte : image)
    byte = static_cast<std::uint8_t>(random());
  std::fill(image.begin() + kImageHoleBegin, image.begin() + kImageBodyBegin, 0xFF);
  std::copy(code.begin(), code.end(), image.begin() + 0x8004);
  return image;
}

}  // namespace zentor::firmware::testing
