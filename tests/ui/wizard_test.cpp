#include <gtest/gtest.h>

#include "tests/ui/dialog_fixture.h"

namespace zentor::ui {
namespace {

constexpr const char* kKeep = "(unchanged)";

// What the user sees at each step, byte for byte, after the dialog showed "Prior" on the
// button.
struct StepCase {
  int step;
  bool japanese;
  const char* info;
  const char* caption;
  bool back;
};

// clang-format off
const StepCase kStepCases[] = {
    {1, false, " Searching Connected Drive.", kKeep, false},
    {2, false, " Select Target Drive.", kKeep, false},
    {3, false, " Select Target Drive and Source File.\r\n\r\n Eject Disc from Target Drive.", "Next >", false},
    {4, false, " Push Start button and Start to update.", "Start", true},
    {11, false, " Completed to update F/W of Drive.\r\n\r\n *** OK ** OK ** OK *** \r\n\r\n Turn OFF PC & Drive and Reboot them.", "Next >", false},
    {12, false, " Fail to update.\r\n\r\n *** NG ** NG ** NG *** \r\n\r\n Turn OFF PC and Reboot it.", "Next >", true},
    {13, false, " Cannot update for different Type Code.\r\n\r\n *** NG ** NG ** NG *** \r\n\r\n Make sure Selected Source File.", "Next >", true},
    {14, false, " Cannot change Drive to Up Mode.\r\n\r\n *** NG ** NG ** NG *** \r\n\r\n Make sure Selected Target Drive.", "Next >", true},
    {15, false, " Fail to make Back Up File.\r\n\r\n Rename Before Back Up File.", "Next >", true},
    {16, false, " Fail to back up current F/W.\r\n\r\n *** NG ** NG ** NG *** \r\n\r\n The drive was not updated.", kKeep, false},
    {0, false, "", kKeep, false}, {17, false, "", kKeep, false}, {-3, false, "", kKeep, false},
    {1, true, "接続されているドライブを検索中", kKeep, false},
    {2, true, "ターゲットドライブを選択してください。", kKeep, false},
    {3, true, "ターゲットドライブとソースファイルを選択してください。\r\n\r\nターゲットドライブからディスクを取り出してください。", "次へ >", false},
    {4, true, "スタートボタンを押すとアップデートを開始します。", "スタート", true},
    {11, true, "ドライブF/Wのアップデートを完了しました。\r\n\r\n*** OK ** OK ** OK ***\r\n\r\nPCとドライブの電源を切り再起動してください。", "次へ >", false},
    {12, true, "アップデートを失敗しました。\r\n\r\n*** NG ** NG ** NG ***\r\n\r\nPCの電源を切り再起動してください。", "次へ >", true},
    {13, true, "タイプコードが異なるのでアップデートできません。\r\n\r\n*** NG ** NG ** NG ***\r\n\r\nソースファイルの選択を間違っていませんか。", "次へ >", true},
    {14, true, "ドライブをアップデートモードに変更できません。\r\n\r\n*** NG ** NG ** NG ***\r\n\r\nターゲットドライブの選択を間違っていませんか。", "次へ >", true},
    {15, true, "バックアップファイルを作成できません。\r\n\r\n以前のバックアップファイルをリネームして下さい。", "次へ >", true},
    {16, true, "現在のF/Wのバックアップを失敗しました。\r\n\r\n*** NG ** NG ** NG ***\r\n\r\nドライブはアップデートされていません。", kKeep, false},
};
// clang-format on

TEST(ShowStep, ShowsEachStepsTextCaptionAndBackState) {
  for (const StepCase& c : kStepCases) {
    DialogFixture f;
    if (c.japanese) f.view.Click(1016);  // the radio button runs SetJapaneseTexts
    f.view.SetText(1003, "Prior");
    f.view.SetEnabled(1022, true);
    const int repaints = f.view.RepaintCount();
    f.ShowAt(c.step);
    SCOPED_TRACE(testing::Message() << "step " << c.step << (c.japanese ? " ja" : " en"));
    EXPECT_EQ(f.Info(), c.info);
    EXPECT_EQ(f.dialog.infoText, c.info);
    EXPECT_EQ(f.NextCaption(), c.caption == kKeep ? "Prior" : c.caption);
    EXPECT_EQ(f.BackEnabled(), c.back);
    EXPECT_EQ(f.view.RepaintCount(), repaints + 1);
  }
}

TEST(ShowStep, ListsThePhasesWithAnArrowOnTheCurrentOne) {
  struct Case {
    int step;
    bool backup;
    bool japanese;
    const char* info;
  };
  // clang-format off
  const Case cases[] = {
      {7, true, false, "    Backing Up F/W \r\n    Transferring Writing Data \r\n>> Confirming SUM Code \r\n    Erasing Flash ROM \r\n    Writing Data into Flash ROM \r\n    Confirming SUM Code \r\n"},
      {6, false, false, ">> Transferring Writing Data \r\n    Confirming SUM Code \r\n    Erasing Flash ROM \r\n    Writing Data into Flash ROM \r\n    Confirming SUM Code \r\n"},
      {10, false, false, "    Transferring Writing Data \r\n    Confirming SUM Code \r\n    Erasing Flash ROM \r\n    Writing Data into Flash ROM \r\n>> Confirming SUM Code \r\n"},
      {5, true, true, ">> F/Wをバックアップ中\r\n    書込データを転送中\r\n    サムコードを確認中\r\n    フラッシュROMを消去中\r\n    フラッシュROMへ書込中\r\n    サムコードを確認中\r\n"},
      {9, false, true, "    書込データを転送中\r\n    サムコードを確認中\r\n    フラッシュROMを消去中\r\n>> フラッシュROMへ書込中\r\n    サムコードを確認中\r\n"},
  };
  // clang-format on
  for (const Case& c : cases) {
    DialogFixture f;
    if (c.japanese) f.dialog.SetJapaneseTexts();
    // Only the control's state counts, as the user left it.
    f.view.SetCheck(1004, c.backup ? 1 : 0);
    f.view.SetText(1003, "Prior");
    f.ShowAt(c.step);
    EXPECT_EQ(f.Info(), c.info) << c.step;
    EXPECT_EQ(f.NextCaption(), "Prior");
    EXPECT_FALSE(f.BackEnabled());
  }
}

TEST(LanguageButtons, RecaptionTheDialogAndShowTheStepAgain) {
  DialogFixture f;
  f.ShowAt(4);
  f.view.Click(1016);
  EXPECT_EQ(f.dialog.UiLanguage, 1);
  EXPECT_EQ(f.NextCaption(), "スタート");  // written "次へ >" first, then the step's own
  EXPECT_EQ(f.Info(), "スタートボタンを押すとアップデートを開始します。");
  EXPECT_TRUE(f.BackEnabled());
  const std::pair<int, const char*> japanese[] = {{1011, "ターゲットドライブ"},
                                                  {1012, "ソースファイル"},
                                                  {1013, "インフォメーション"},
                                                  {1014, "進行状況"},
                                                  {1004, "現在のF/Wをバックアップ"},
                                                  {2, "クローズ"},
                                                  {1022, "< 戻る"}};
  for (const auto& [id, text] : japanese)
    EXPECT_EQ(f.view.Text(id), text) << id;
  EXPECT_EQ(f.dialog.labelProgress, "進行状況");

  f.view.Click(1015);
  EXPECT_EQ(f.view.Check(1016), 0);
  EXPECT_EQ(f.dialog.UiLanguage, 0);
  EXPECT_EQ(f.NextCaption(), "Start");
  const std::pair<int, const char*> english[] = {
      {1011, "Target Drive"}, {1012, "Source File"},         {1013, "Information"},
      {1014, "Progress"},     {1004, "Back Up current F/W"}, {2, "Close"},
      {1022, "< Back"}};
  for (const auto& [id, text] : english)
    EXPECT_EQ(f.view.Text(id), text) << id;

  // Only 1 means Japanese.
  f.dialog.UiLanguage = 2;
  f.ShowAt(1);
  EXPECT_EQ(f.Info(), " Searching Connected Drive.");

  // A step without a caption of its own keeps the language's "Next" form.
  f.ShowAt(16);
  f.view.Click(1016);
  EXPECT_EQ(f.NextCaption(), "次へ >");
  EXPECT_EQ(f.Info(),
            "現在のF/Wのバックアップを失敗しました。\r\n\r\n*** NG ** NG ** NG ***\r\n\r\n"
            "ドライブはアップデートされていません。");
}

TEST(Wizard, NextWalksForwardAndReturnsFromTheOutcomeStepsLeavingTheOptionsAlone) {
  DialogFixture f;
  f.dialog.SetEnglishTexts();
  f.ShowAt(1);
  for (int expected : {2, 3, 4}) {
    f.view.Click(1003);
    EXPECT_EQ(f.dialog.WizardStep, expected);
  }
  EXPECT_EQ(f.NextCaption(), "Start");

  for (int outcome : {13, 14, 15}) {
    f.ShowAt(outcome);
    for (int option : {1020, 1021}) {
      f.view.SetVisible(option, true);
      f.view.SetCheck(option, 1);
    }
    f.view.Click(1003);
    EXPECT_EQ(f.dialog.WizardStep, 3);
    EXPECT_EQ(f.NextCaption(), "Next >");
    EXPECT_TRUE(f.view.IsVisible(1020) && f.view.IsVisible(1021));
    EXPECT_EQ(f.view.Check(1020), 1);
  }
}

TEST(Wizard, BackHidesAndUnticksTheOptionsAndRestsAtStepThree) {
  for (int from : {4, 12, 13, 14, 15}) {
    DialogFixture f;
    f.dialog.SetEnglishTexts();
    f.ShowAt(from);
    for (int option : {1020, 1021}) {
      f.view.SetVisible(option, true);
      f.view.SetCheck(option, 1);
    }
    ASSERT_TRUE(f.view.Click(1022)) << from;
    EXPECT_EQ(f.dialog.WizardStep, 3);
    EXPECT_EQ(f.Info(),
              " Select Target Drive and Source File.\r\n\r\n Eject Disc from Target Drive.");
    for (int option : {1020, 1021}) {
      EXPECT_FALSE(f.view.IsVisible(option));
      EXPECT_EQ(f.view.Check(option), 0);
    }
    EXPECT_FALSE(f.BackEnabled());
  }
}

}  // namespace
}  // namespace zentor::ui
