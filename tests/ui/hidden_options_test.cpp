// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "tests/ui/dialog_fixture.h"
#include "ui/password_dialog.h"

namespace zentor::ui {
namespace {

firmware::ShortIdField ShortId(const char* text) {
  firmware::ShortIdField id{};
  std::copy_n(text, std::min<std::size_t>(std::strlen(text), 8), id.begin());
  return id;
}

TEST(PassType, KeepsTheBoxOnlyForThePasswordThatStartsWithTheShortId) {
  struct Case {
    const char* shortId;
    PasswordAnswer answer;
    bool kept;
    const char* typed;  // what typedPassword holds afterwards
  };
  const Case cases[] = {
      {"AB12cd-9", {true, "AB12cd-9"}, true, "AB12cd-9"},
      {"AB12cd-9", {true, "AB12cd-9 anything beyond"}, true, "AB12cd-9 anythin"},  // cut to 16
      {"AB12cd-9", {true, "AB12cd-"}, false, "AB12cd-"},
      {"AB12cd-9", {true, "ab12cd-9"}, false, "ab12cd-9"},
      {"AB12cd-9", {false, "AB12cd-9"}, false, ""},  // Esc: an empty password
      {"", {true, ""}, false, ""},                   // no file identified yet
  };
  for (const Case& c : cases) {
    DialogFixture f;
    f.dialog.fileShortId = ShortId(c.shortId);
    f.dialog.infoText = "from the field";
    f.view.SetVisible(1020, true);
    f.view.QueuePasswordAnswer(c.answer);
    ASSERT_TRUE(f.view.Click(1020));
    SCOPED_TRACE(c.answer.text);
    EXPECT_EQ(f.view.PasswordPrompts(), std::vector<int>{16});
    EXPECT_EQ(f.dialog.typedPassword, c.typed);
    EXPECT_EQ(f.view.Check(1020), c.kept ? 1 : 0);
    // A refusal is silent, and pushes the bound fields.
    EXPECT_TRUE(f.view.MessageBoxes().empty());
    EXPECT_EQ(f.view.Text(1006), c.kept ? "" : "from the field");
  }
}

}  // namespace
}  // namespace zentor::ui
