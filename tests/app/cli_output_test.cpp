#include <gtest/gtest.h>

#include <sstream>

#include "app/cli/drive_choice.h"
#include "app/cli/echoing_view.h"
#include "app/cli/permission_hint.h"
#include "app/cli/progress_display.h"

namespace zentor::app::cli {
namespace {

TEST(ProgressDisplay, OnATerminalRedrawsOneLineAndGivesWayToOtherOutput) {
  std::ostringstream terminal;
  ProgressDisplay bar(terminal, true);
  bar.Show(0, 120);
  bar.Show(60, 120);
  bar.Show(60, 120);  // no news, no redraw
  bar.Suspend();
  bar.Resume();
  bar.Show(120, 120);
  bar.Finish();
  const std::string empty(40, '.');
  const std::string half = std::string(20, '#') + std::string(20, '.');
  const std::string full(40, '#');
  EXPECT_EQ(terminal.str(), "\r\033[K[" + empty + "] 0/120" +      //
                                "\r\033[K[" + half + "] 60/120" +  //
                                "\r\033[K" +                       // cleared for other output
                                "\r\033[K[" + half + "] 60/120" +  // and drawn again
                                "\r\033[K[" + full + "] 120/120\n");
}

TEST(ProgressDisplay, ElsewhereWritesOneLinePerNewPosition) {
  std::ostringstream log;
  ProgressDisplay bar(log, false);
  bar.Suspend();
  bar.Show(0, 120);
  bar.Show(0, 120);
  bar.Suspend();
  bar.Resume();
  bar.Show(7, 120);
  bar.Finish();
  EXPECT_EQ(log.str(), "progress 0/120\nprogress 7/120\n");
}

TEST(TerminalLines, TurnsCrLfIntoLfAndKeepsEverythingElse) {
  EXPECT_EQ(TerminalLines(" A\r\n\r\n B \r\n"), " A\n\n B \n");
  EXPECT_EQ(TerminalLines("lone\rcr\n"), "lone\rcr\n");
  EXPECT_EQ(TerminalLines("end\r"), "end\r");
}

TEST(ResolveDrive, TakesAnIndexOrTheOneEntryTheTextStarts) {
  const std::vector<std::string> list = {"cdrom1 :  VAREL   A", "cdrom10 :  VAREL   B",
                                         "cdrom2 :  ACME    C"};
  struct Case {
    const char* wanted;
    std::optional<int> index;
  };
  for (const Case c :
       {Case{"0", 0}, Case{"2", 2}, Case{"3", std::nullopt}, Case{"01", 1},
        Case{"-1", std::nullopt}, Case{"99999999999999999999", std::nullopt}, Case{"cdrom1", 0},
        Case{"cdrom10", 1}, Case{"cdrom1 :  VAREL   A", 0}, Case{"cdrom2 :  AC", 2},
        Case{"cdrom", std::nullopt}, Case{"cdrom1 :", 0}, Case{"cdrom3", std::nullopt}}) {
    EXPECT_EQ(ResolveDrive(c.wanted, list), c.index) << c.wanted;
  }
  EXPECT_EQ(ResolveDrive("0", {}), std::nullopt);
}

// Which refusal stopped the program, and what would have allowed the update.
TEST(PermissionHint, NamesTheRefusalAndWhatWouldAllowIt) {
  platform::PermissionRefusals refusals;
  EXPECT_EQ(PermissionHint(refusals), "");
  refusals.refusedCommands = {{"/dev/sr0", "/dev/sg1"}};
  EXPECT_EQ(PermissionHint(refusals),
            "zentor-cli: the kernel refused the drive's vendor commands on /dev/sr0: there they "
            "need CAP_SYS_RAWIO (run as root); read-write access to the drive's generic node "
            "/dev/sg1 needs no capability\n");
  refusals.refusedCommands = {{"/dev/sr0", ""}};
  refusals.refusedNodes = {"/dev/sg0", "/dev/sr1"};
  EXPECT_EQ(PermissionHint(refusals),
            "zentor-cli: the kernel refused the drive's vendor commands on /dev/sr0: there they "
            "need CAP_SYS_RAWIO (run as root)\n"
            "zentor-cli: the kernel refused to open /dev/sg0, /dev/sr1 for reading and writing: "
            "an update needs read-write access to the drive's generic node (/dev/sgN), or root\n");
}

}  // namespace
}  // namespace zentor::app::cli
