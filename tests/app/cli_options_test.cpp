#include "app/cli/cli_options.h"

#include <gtest/gtest.h>

#include <vector>

namespace zentor::app::cli {
namespace {

ParsedCommandLine Parse(std::vector<std::string_view> arguments) {
  return ParseCommandLine(arguments);
}

TEST(CliOptions, ReadsOptionsBeforeAndAfterTheCommandInBothForms) {
  const ParsedCommandLine parsed =
      Parse({"--simulate", "--sim-refuse=flash-start", "update", "--drive", "cdrom1",
             "--file=a b.vrl", "--backup", "--lang", "ja"});
  ASSERT_TRUE(parsed.options) << parsed.error;
  const CliOptions& o = *parsed.options;
  EXPECT_EQ(o.command, Command::Update);
  EXPECT_TRUE(o.simulate);
  EXPECT_EQ(o.refusal, DemoRefusal::FlashStart);
  EXPECT_EQ(o.drive, "cdrom1");
  EXPECT_EQ(o.file, "a b.vrl");
  EXPECT_TRUE(o.backup);
  EXPECT_TRUE(o.japanese);

  const ParsedCommandLine english = Parse({"files", "--lang=en"});
  ASSERT_TRUE(english.options);
  EXPECT_FALSE(english.options->japanese);
  EXPECT_FALSE(english.options->simulate);
  // --help and --version need no command.
  EXPECT_TRUE(Parse({"--help"}).options);
  EXPECT_TRUE(Parse({"-V"}).options);
}

TEST(CliOptions, SaysWhatIsWrongWithABadLine) {
  struct Case {
    std::vector<std::string_view> arguments;
    const char* error;
  };
  const Case cases[] = {
      {{}, "no command given"},
      {{"flash"}, "unknown command \"flash\""},
      {{"drives", "files"}, "unexpected argument \"files\""},
      {{"--force", "drives"}, "unknown option \"--force\""},
      {{"update", "--drive", "0"}, "update needs --file"},
      {{"update", "--file", "x.vrl"}, "update needs --drive"},
      {{"update", "--file", "x.vrl", "--drive"}, "--drive needs a value"},
      {{"update", "--file=", "--drive", "0"}, "--file needs a value"},
      {{"drives", "--backup"}, "--drive, --file and --backup belong to the update command"},
      {{"--backup=yes", "update", "--drive", "0", "--file", "x"}, "--backup takes no value"},
      {{"--lang", "de", "drives"}, "--lang takes en or ja, not \"de\""},
      {{"--sim-refuse", "block", "drives"}, "--sim-refuse needs --simulate"},
      {{"--simulate", "--sim-refuse", "all", "drives"},
       "--sim-refuse takes update-mode, block or flash-start, not \"all\""},
      {{"samples"}, "samples fit the simulated drives only: use --simulate samples"},
  };
  for (const Case& c : cases) {
    const ParsedCommandLine parsed = Parse(c.arguments);
    EXPECT_FALSE(parsed.options) << c.error;
    EXPECT_EQ(parsed.error, c.error);
  }
}

}  // namespace
}  // namespace zentor::app::cli
