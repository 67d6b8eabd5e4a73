// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include "tests/ui/dialog_fixture.h"

namespace zentor::ui {
namespace {

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
