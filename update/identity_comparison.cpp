// SPDX-License-Identifier: GPL-2.0-or-later
#include "update/identity_comparison.h"

#include <algorithm>

namespace zentor::update {
namespace {

constexpr std::size_t kTypeCodeStemLength = 4;

bool SameBytes(const auto& a, const auto& b, std::size_t width) {
  return std::equal(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(width), b.begin());
}

}  // namespace

bool PasswordMatches(std::string_view typed, const firmware::ShortIdField& shortId) {
  if (typed.size() < firmware::kShortIdLength) return false;
  for (std::size_t at = 0; at < firmware::kShortIdLength; ++at) {
    if (shortId[at] == '\0' || typed[at] != shortId[at]) return false;
  }
  return true;
}

bool IdentitiesMatch(const UpdateState& drive, const firmware::FirmwareImage& file,
                     int passTypeState) {
  using firmware::kLongIdLength;
  using firmware::kShortIdLength;
  using firmware::kTypeCodeLength;
  if (SameBytes(drive.driveTypeCode, file.fileTypeCode, kTypeCodeLength)) {
    return SameBytes(drive.driveShortId, file.fileShortId, kShortIdLength) &&
           SameBytes(drive.driveLongId, file.fileLongId, kLongIdLength);
  }
  if (SameBytes(drive.driveTypeCode, file.fileTypeCode, kTypeCodeStemLength)) {
    return passTypeState == 1 && PasswordMatches(drive.typedPassword, file.fileShortId);
  }
  return std::all_of(drive.driveTypeCode.begin(), drive.driveTypeCode.begin() + kTypeCodeLength,
                     [](char c) { return static_cast<std::uint8_t>(c) == 0xFF; });
}

}  // namespace zentor::update
