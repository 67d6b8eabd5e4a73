// SPDX-License-Identifier: GPL-2.0-or-later
// Which drive may take which file: the three ways to match and everything that must not.
#include "update/identity_comparison.h"

#include <gtest/gtest.h>

#include <cstring>

namespace zentor::update {
namespace {

template <std::size_t N>
void Set(std::array<char, N>& field, const char* bytes) {
  field.fill('\0');
  std::memcpy(field.data(), bytes, N - 1);
}

struct Case {
  const char* name;
  const char* driveCode;
  const char* driveShort;
  const char* driveLong;
  int passType;
  const char* password;
  bool match;
};

// The file: "KXR65 ", "ZT-KXR65", "KX4410B KXR65   ".
const Case kCases[] = {
    {"type code differs in its sixth byte only", "KXR65x", "ZT-KXR65", "KX4410B KXR65   ", 0, "",
     false},
    // Pass Type is for another variant; the drive's own type code still needs its ids.
    {"type code equal, ids differ, Pass Type with the short id", "KXR65 ", "other   ",
     "other           ", 1, "ZT-KXR65", false},
    {"stem equal, ids differ, Pass Type with no password", "KXR69 ", "other   ", "other           ",
     1, "", false},
    {"stem equal, Pass Type with the short id", "KXR69 ", "other   ", "other           ", 1,
     "ZT-KXR65 and more", true},
    {"stem equal, Pass Type not ticked", "KXR69 ", "ZT-KXR65", "KX4410B KXR65   ", 0, "ZT-KXR65",
     false},
    {"stem equal, password differs in its 8th character", "KXR69 ", "ZT-KXR65", "", 1, "ZT-KXR6x",
     false},
    {"blank drive", "\xFF\xFF\xFF\xFF\xFF\xFF", "", "", 0, "", true},
    {"a different stem, even with Pass Type", "KXR75 ", "ZT-KXR65", "", 1, "ZT-KXR65", false},
};

TEST(IdentityComparison, FollowsTheThreeWaysToMatch) {
  firmware::FirmwareImage file;
  Set(file.fileTypeCode, "KXR65 ");
  Set(file.fileShortId, "ZT-KXR65");
  Set(file.fileLongId, "KX4410B KXR65   ");
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    UpdateState drive;
    Set(drive.driveTypeCode, c.driveCode);
    drive.driveShortId.fill('\0');
    std::strncpy(drive.driveShortId.data(), c.driveShort, 8);
    drive.driveLongId.fill('\0');
    std::strncpy(drive.driveLongId.data(), c.driveLong, 16);
    drive.typedPassword = c.password;
    EXPECT_EQ(IdentitiesMatch(drive, file, c.passType), c.match);
  }
}

}  // namespace
}  // namespace zentor::update
