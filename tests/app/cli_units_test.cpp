// SPDX-License-Identifier: GPL-2.0-or-later
// Which entry --drive picks, among labels the simulated drives cannot have.
#include <gtest/gtest.h>

#include "app/cli/drive_choice.h"

namespace zentor::app::cli {
namespace {

TEST(ResolveDrive, TakesAnIndexOrTheOneEntryTheTextStarts) {
  const std::vector<std::string> list = {"cdrom1 :  VAREL   A", "cdrom10 :  VAREL   B",
                                         "cdrom2 :  ACME    C"};
  struct Case {
    const char* wanted;
    std::optional<int> index;
  };
  for (const Case c : {Case{"2", 2}, Case{"3", std::nullopt}, Case{"-1", std::nullopt},
                       Case{"99999999999999999999", std::nullopt}, Case{"cdrom1", 0},
                       Case{"cdrom10", 1}, Case{"cdrom2 :  AC", 2}, Case{"cdrom", std::nullopt}})
    EXPECT_EQ(ResolveDrive(c.wanted, list), c.index) << c.wanted;
}

}  // namespace
}  // namespace zentor::app::cli
