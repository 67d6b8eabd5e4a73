// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <span>

namespace zentor::firmware {

// Stored forms by the drive's family: family 5 adds AdditiveKey[i % 256] to every byte
// except the 36-byte identification window (so the file stays recognisable and keeps the
// image's length); families 6..8 use the packed form. Families 0..4 have no stored form.
// The window comes from the file's family: a file family without a scrambled row has none,
// and then nothing is scrambled either way.
//
// Both operations change nothing and return false when they fail.

// Plain image to stored form, in place. `length` is the image length in, the stored length
// out (it shrinks for the packed form, which needs a full 1 MiB image in `buffer`). A length
// beyond the buffer is refused.
bool ScrambleImage(std::span<std::uint8_t> buffer, std::uint32_t& length, int driveFamily,
                   int fileFamily);

// Stored form to plain image, in place: the first `length` bytes of `buffer` are the stored
// data. For the packed form the buffer must hold 1 MiB and receives the whole plain image.
// A length beyond the buffer is refused.
bool UnscrambleImage(std::span<std::uint8_t> buffer, int length, int driveFamily, int fileFamily);

}  // namespace zentor::firmware
