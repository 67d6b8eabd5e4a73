// SPDX-License-Identifier: GPL-2.0-or-later
// The CLI's own pieces that its process test cannot pin down: which entry --drive picks, and
// what a bad command line is told.
#include <gtest/gtest.h>

#include "app/cli/cli_options.h"
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

TEST(CliOptions, SaysWhatIsWrongWithABadLine) {
  struct Case {
    std::vector<std::string_view> arguments;
    const char* error;
  };
  const Case cases[] = {
      {{"update", "--drive", "0"}, "update needs --file"},
      {{"update", "--file", "x.vrl", "--drive"}, "--drive needs a value"},
      {{"drives", "--backup"}, "--drive, --file and --backup belong to the update command"},
      {{"--sim-refuse", "block", "drives"}, "--sim-refuse needs --simulate"},
      {{"samples"}, "samples fit the simulated drives only: use --simulate samples"},
  };
  for (const Case& c : cases) {
    const ParsedCommandLine parsed = ParseCommandLine(c.arguments);
    EXPECT_FALSE(parsed.options) << c.error;
    EXPECT_EQ(parsed.error, c.error);
  }
}

}  // namespace
}  // namespace zentor::app::cli
