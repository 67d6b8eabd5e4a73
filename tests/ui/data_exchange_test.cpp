#include <gtest/gtest.h>

#include "tests/ui/dialog_fixture.h"

namespace zentor::ui {
namespace {

// Every bound control with the field it shows.
const std::pair<int, std::string FlashDialog::*> kBoundTexts[] = {
    {1011, &FlashDialog::labelTargetDrive}, {1012, &FlashDialog::labelSourceFile},
    {1013, &FlashDialog::labelInformation}, {1014, &FlashDialog::labelProgress},
    {1006, &FlashDialog::infoText},         {1019, &FlashDialog::backupFileName},
    {1018, &FlashDialog::fileIdentText},    {1030, &FlashDialog::versionText},
};

// A push rewrites every bound control from its field and leaves the others alone; a pull
// copies every bound control into its field.
TEST(DataExchange, PushAndPullMoveEveryBoundFieldAndNothingElse) {
  DialogFixture f;
  for (const auto& [id, field] : kBoundTexts) {
    f.dialog.*field = "field " + std::to_string(id);
    f.view.SetText(id, "written directly");
  }
  f.dialog.updateLoader = 1;
  f.view.SetText(1003, "not bound");
  f.view.SetText(1026, "banner");
  f.view.SetCheck(1004, 1);
  f.dialog.PushBoundFields();
  for (const auto& [id, field] : kBoundTexts)
    EXPECT_EQ(f.view.Text(id), "field " + std::to_string(id)) << id;
  EXPECT_EQ(f.view.Check(1021), 1);
  EXPECT_EQ(f.view.Text(1003), "not bound");
  EXPECT_EQ(f.view.Text(1026), "banner");
  EXPECT_EQ(f.view.Check(1004), 1);

  for (const auto& [id, field] : kBoundTexts)
    f.view.SetText(id, "control " + std::to_string(id));
  f.dialog.typedPassword = "kept";
  f.dialog.PullBoundFields();
  for (const auto& [id, field] : kBoundTexts)
    EXPECT_EQ(f.dialog.*field, "control " + std::to_string(id)) << id;
  EXPECT_EQ(f.dialog.typedPassword, "kept");
}

TEST(DataExchange, UpdateLoaderFollowsItsBoxOnlyAtAPull) {
  DialogFixture f;
  EXPECT_EQ(f.dialog.updateLoader, 0);
  EXPECT_EQ(f.dialog.FlashReadUnsupported, 0);
  EXPECT_EQ(f.dialog.appIcon, 128);
  f.view.SetVisible(1021, true);
  ASSERT_TRUE(f.view.Click(1021));
  EXPECT_EQ(f.dialog.updateLoader, 0);
  f.dialog.PullBoundFields();
  EXPECT_EQ(f.dialog.updateLoader, 1);
  ASSERT_TRUE(f.view.Click(1021));
  f.dialog.PullBoundFields();
  EXPECT_EQ(f.dialog.updateLoader, 0);

  // Next pulls before it moves the wizard.
  f.ShowAt(1);
  ASSERT_TRUE(f.view.Click(1021));
  ASSERT_TRUE(f.view.Click(1003));
  EXPECT_EQ(f.dialog.updateLoader, 1);
}

}  // namespace
}  // namespace zentor::ui
