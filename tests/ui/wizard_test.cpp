// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include "tests/ui/dialog_fixture.h"
#include "ui/control_ids.h"

namespace zentor::ui {
namespace {

// Next walks forward. From an outcome, Next goes back to the choice leaving the options as
// they were; Back does too, but hides and unticks them.
TEST(Wizard, NextAndBackReturnToTheChoiceAndOnlyBackDropsTheOptions) {
  DialogFixture walk;
  walk.ShowAt(1);
  for (int expected : {2, 3, 4}) {
    walk.view.Click(kNextStartButton);
    EXPECT_EQ(walk.dialog.WizardStep, expected);
  }
  for (int outcome : {13, 14, 15}) {
    for (int button : {kNextStartButton, kBackButton}) {
      SCOPED_TRACE(testing::Message() << "step " << outcome << " button " << button);
      DialogFixture f;
      f.dialog.SetEnglishTexts();
      f.ShowAt(outcome);
      for (int option : {kPassTypeCheckBox, kUpdateLoaderCheckBox}) {
        f.view.SetVisible(option, true);
        f.view.SetCheck(option, 1);
      }
      ASSERT_TRUE(f.view.Click(button));
      EXPECT_EQ(f.dialog.WizardStep, 3);
      EXPECT_EQ(f.view.Text(kNextStartButton), "Next >");
      EXPECT_FALSE(f.view.IsEnabled(kBackButton));
      for (int option : {kPassTypeCheckBox, kUpdateLoaderCheckBox}) {
        EXPECT_EQ(f.view.IsVisible(option), button == kNextStartButton);
        EXPECT_EQ(f.view.Check(option), button == kNextStartButton ? 1 : 0);
      }
    }
  }
}

}  // namespace
}  // namespace zentor::ui
