// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include "tests/ui/dialog_fixture.h"

namespace zentor::ui {
namespace {

// The start scans before it lists: the window says so over an empty list, then lists only
// the supported drives in scan order, the first selected.
TEST(DialogStart, SearchesThenListsTheSupportedDrives) {
  DialogFixture f;
  f.AttachDrive(3, "CD-RW KX4840A   ");
  f.AttachDrive(1, "DVD/CDRW KX8040 ");
  f.AttachDrive(2, "UNKNOWN DRIVE   ");
  ASSERT_TRUE(f.dialog.InitDialog());

  EXPECT_EQ(f.dialog.WizardStep, 3);
  const std::vector<std::string> drives = {"cdrom1 :  VAREL   DVD/CDRW KX8040 1.00",
                                           "cdrom3 :  VAREL   CD-RW KX4840A   1.00"};
  EXPECT_EQ(f.view.Control(1000).entries, drives);
  EXPECT_EQ(f.view.ListSelection(1000), 0);
  const auto searching = std::ranges::find_if(
      f.view.shown, [](const auto& s) { return s.info == " Searching Connected Drive."; });
  ASSERT_NE(searching, f.view.shown.end());
  EXPECT_EQ(searching->listedDrives, 0);
  EXPECT_EQ(f.view.shown.back().listedDrives, 2);
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

}  // namespace
}  // namespace zentor::ui
