#include <gtest/gtest.h>

#include "firmware/sample_firmware.h"
#include "tests/ui/dialog_fixture.h"
#include "ui/permission_notice.h"

namespace zentor::ui {
namespace {

constexpr int kFamily6Row = 15;

std::vector<std::uint8_t> VersionBlock(std::string_view productVersion) {
  std::string block = "\\StringFileInfo\\040904b0\\ProductName";
  block += '\0';
  block += "Zentor";
  block += '\0';
  block += "\\StringFileInfo\\040904b0\\ProductVersion";
  block += '\0';
  block += productVersion;
  block += std::string(2, '\0');
  return {block.begin(), block.end()};
}

TEST(DialogStart, OpensAtStepThreeWithTheListsFilledAndTheFirstEntriesTaken) {
  DialogFixture f;
  f.platform.SetProgramFile("/opt/bin/zentor", VersionBlock("8.515"));
  f.AttachDrive(3, "CD-RW KX4840A   ");
  f.AttachDrive(1, "DVD/CDRW KX8040 ");
  f.AttachDrive(2, "UNKNOWN DRIVE   ");
  f.files.Put("b.bin", firmware::MakeSampleImage(0, 1));
  f.files.Put("K6.VRL",
              *firmware::SampleFileBytes(kFamily6Row, firmware::MakeSampleImage(kFamily6Row, 1)));
  f.files.Put("a.vrl", std::vector<std::uint8_t>(64, 0x41));

  ASSERT_TRUE(f.dialog.InitDialog());

  EXPECT_FALSE(f.view.Ended());
  EXPECT_EQ(f.dialog.WizardStep, 3);
  EXPECT_EQ(f.view.Title(), "Zentor");
  EXPECT_EQ(f.view.IconResource(), 128);
  EXPECT_EQ(f.view.Text(1026),
            "DVD+RW/+R Drive KX4410B F/W Update Program\r\n95/98/Me/NT4/2000/XP");
  EXPECT_EQ(f.view.Control(1007).rangeLow, 0);
  EXPECT_EQ(f.view.Control(1007).rangeHigh, 120);
  EXPECT_EQ(f.view.Check(1015), 1);
  EXPECT_EQ(f.view.Text(1003), "Next >");
  EXPECT_FALSE(f.view.IsVisible(1020));
  EXPECT_FALSE(f.view.IsVisible(1021));

  const std::vector<std::string> drives = {"cdrom1 :  VAREL   DVD/CDRW KX8040 1.00",
                                           "cdrom3 :  VAREL   CD-RW KX4840A   1.00"};
  EXPECT_EQ(f.view.Control(1000).entries, drives);
  EXPECT_EQ(f.view.ListSelection(1000), 0);
  const std::vector<std::string> files = {"a.vrl", "b.bin", "K6.VRL"};
  EXPECT_EQ(f.view.Control(1001).entries, files);
  EXPECT_EQ(f.view.ListSelection(1001), 0);
  // The first file is an unrecognised one: identified, it shows no identity.
  EXPECT_EQ(f.view.Text(1018), "");

  EXPECT_EQ(f.view.Control(1027).picture, 136);
  EXPECT_EQ(f.view.Text(1030), "2003  Ver 8.515.");
  EXPECT_EQ(f.view.SizeOfControl(1030).width, f.view.SizeOfControl(1027).width);
  EXPECT_EQ(f.view.SizeOfControl(1030).height, 17);
  EXPECT_EQ(f.view.MessageBoxes().size(), 0u);

  // While the scan ran the window said so, over an empty list.
  const auto searching = std::ranges::find_if(
      f.view.shown, [](const auto& s) { return s.info == " Searching Connected Drive."; });
  ASSERT_NE(searching, f.view.shown.end());
  EXPECT_EQ(searching->listedDrives, 0);
  EXPECT_EQ(f.view.shown.back().listedDrives, 2);
  EXPECT_EQ(f.view.shown.back().info.substr(0, 38), " Select Target Drive and Source File.\r");
}

// Whether the start has something to say about an empty drive list: only when the list is
// empty and the system refused this user a drive.
TEST(DialogStart, AnEmptyDriveListIsExplainedOnlyWhenTheSystemRefusedADrive) {
  struct Case {
    const char* name;
    std::vector<int> deniedCdroms;
    std::vector<int> drives;
    bool explained;
  };
  const Case cases[] = {
      {"no drive at all", {}, {}, false},
      {"the only drive refused", {0}, {}, true},
      {"a drive listed, another refused", {5}, {2}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DialogFixture f;
    for (int n : c.drives)
      f.AttachDrive(n, "CD-RW KX4840A   ");
    for (int n : c.deniedCdroms)
      f.platform.bus().DenyAccess(platform::sim::SimBus::CdromName(n));
    ASSERT_TRUE(f.dialog.InitDialog());
    const std::string notice = f.dialog.EmptyDriveListNotice(resources::TemplateLanguage::English);
    EXPECT_EQ(!notice.empty(), c.explained);
    if (c.explained) {
      EXPECT_NE(notice.find("\\\\.\\cdrom0"), std::string::npos) << notice;
    }
    // The start itself shows no box: the window does, once it stands.
    EXPECT_TRUE(f.view.MessageBoxes().empty());
    EXPECT_EQ(f.dialog.WizardStep, 3);
    EXPECT_EQ(f.view.ListSelection(1000), c.drives.empty() ? -1 : 0);
    EXPECT_EQ(f.view.ListSelection(1001), -1);
    // The simulated program file carries no version information: the label stays blank.
    EXPECT_EQ(f.view.Text(1030), "");
  }
}

TEST(PermissionNotice, NamesWhatWasRefusedAndWhatWouldAllowItInTheTemplatesLanguage) {
  using resources::TemplateLanguage;
  platform::PermissionRefusals nodes;
  nodes.refusedNodes = {"/dev/sg1", "/dev/sr0"};
  platform::PermissionRefusals commands;
  commands.refusedCommands = {{"/dev/sr0", "/dev/sg1"}};
  platform::PermissionRefusals commandsOnly;
  commandsOnly.refusedCommands = {{"/dev/sr1", ""}};
  struct Case {
    const platform::PermissionRefusals& refusals;
    TemplateLanguage language;
    std::string text;
  };
  const std::string allowEn =
      "\nAn update needs read-write access to the drive's generic node (/dev/sgN), or root. "
      "Ask the administrator for access to this one drive; whoever has it can rewrite the "
      "drive's firmware.\n";
  const std::string allowJa =
      "\nアップデートには、ドライブの汎用ノード (/dev/sgN) への読み書き権限、または root "
      "権限が必要です。管理者にこのドライブだけのアクセス権を依頼してください。その権限があ"
      "れば、このドライブのファームウェアを書き換えられます。\n";
  const Case cases[] = {
      {nodes, TemplateLanguage::English,
       "No drive can be listed: the system did not allow this user access to a drive.\n"
       "\nNot allowed to open for reading and writing: /dev/sg1, /dev/sr0\n" +
           allowEn},
      {commands, TemplateLanguage::English,
       "No drive can be listed: the system did not allow this user access to a drive.\n"
       "\nThe drive's vendor commands were refused on /dev/sr0 (there they need "
       "CAP_SYS_RAWIO, that is root).\n"
       "Read-write access to the drive's generic node /dev/sg1 needs no capability.\n" +
           allowEn},
      {commandsOnly, TemplateLanguage::English,
       "No drive can be listed: the system did not allow this user access to a drive.\n"
       "\nThe drive's vendor commands were refused on /dev/sr1 (there they need "
       "CAP_SYS_RAWIO, that is root).\n" +
           allowEn},
      {nodes, TemplateLanguage::Japanese,
       "システムがこのユーザーにドライブへのアクセスを許可しなかったため、ドライブを一覧に表示"
       "できません。\n"
       "\n読み書き用に開けなかったもの: /dev/sg1, /dev/sr0\n" +
           allowJa},
      {commands, TemplateLanguage::Japanese,
       "システムがこのユーザーにドライブへのアクセスを許可しなかったため、ドライブを一覧に表示"
       "できません。\n"
       "\n/dev/sr0 ではドライブのベンダーコマンドが拒否されました (そこでは CAP_SYS_RAWIO、"
       "つまり root 権限が必要です)。\n"
       "ドライブの汎用ノード /dev/sg1 への読み書き権限があれば、特別な権限は要りません。\n" +
           allowJa},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PermissionNoticeText(c.refusals, c.language), c.text);
  EXPECT_EQ(PermissionNoticeText({}, TemplateLanguage::Japanese), "");
}

}  // namespace
}  // namespace zentor::ui
