#include <gtest/gtest.h>

#include "tests/ui/dialog_fixture.h"

namespace zentor::ui {
namespace {

TEST(MemoryDialogView, SortedListOrdersWithoutRegardToCaseAndKeepsTheSelectedEntry) {
  MemoryDialogView view;
  for (const char* name : {"kxr70.vrl", "CDRWFW00.VRL", "b.bin", "Z.bin"}) {
    view.AddListEntry(1000, name);
    view.AddListEntry(1001, name);
  }
  const std::vector<std::string> unsorted = {"kxr70.vrl", "CDRWFW00.VRL", "b.bin", "Z.bin"};
  const std::vector<std::string> sorted = {"b.bin", "CDRWFW00.VRL", "kxr70.vrl", "Z.bin"};
  EXPECT_EQ(view.Control(1000).entries, unsorted);
  EXPECT_EQ(view.Control(1001).entries, sorted);

  view.SelectListEntry(1001, 2);
  EXPECT_EQ(view.AddListEntry(1001, "a.bin"), 0);
  EXPECT_EQ(view.ListEntry(1001, view.ListSelection(1001)), "kxr70.vrl");
  view.SelectListEntry(1001, 9);
  EXPECT_EQ(view.ListSelection(1001), -1);
  view.ClearList(1001);
  EXPECT_EQ(view.ListCount(1001), 0);
}

// Esc and the close box end the dialog only while Close is enabled; a disabled button and
// an ended dialog take no click.
TEST(MemoryDialogView, InputReachesTheDialogOnlyThroughEnabledControls) {
  DialogFixture f;
  f.ShowAt(1);
  f.view.SetEnabled(1003, false);
  EXPECT_FALSE(f.view.Click(1003));
  EXPECT_EQ(f.dialog.WizardStep, 1);
  f.view.SetEnabled(1003, true);
  f.view.SetEnabled(2, false);
  EXPECT_FALSE(f.view.Cancel());
  EXPECT_FALSE(f.view.Ended());
  f.view.SetEnabled(2, true);
  EXPECT_TRUE(f.view.Cancel());
  EXPECT_EQ(f.view.EndResult(), 2);
  EXPECT_FALSE(f.view.Click(1003));
}

}  // namespace
}  // namespace zentor::ui
