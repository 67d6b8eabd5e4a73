// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/message_catalogue.h"

#include <stdexcept>
#include <string>

#include "ui/control_ids.h"

namespace zentor::ui {
namespace {

using enum NextCaption;

// English step texts begin with a blank and their result lines carry one on both sides; the
// Japanese ones have neither. Line breaks are CR LF: the information box is a multi-line
// edit control.
constexpr StepEntry kStepTexts[] = {
    {StepSearching,
     {" Searching Connected Drive.", "接続されているドライブを検索中"},
     Unchanged,
     false},
    {StepSelectDrive,
     {" Select Target Drive.", "ターゲットドライブを選択してください。"},
     Unchanged,
     false},
    {StepSelectFiles,
     {" Select Target Drive and Source File.\r\n\r\n Eject Disc from Target Drive.",
      "ターゲットドライブとソースファイルを選択してください。\r\n\r\n"
      "ターゲットドライブからディスクを取り出してください。"},
     Next,
     false},
    {StepReady,
     {" Push Start button and Start to update.",
      "スタートボタンを押すとアップデートを開始します。"},
     Start,
     true},
    {StepCompleted,
     {" Completed to update F/W of Drive.\r\n\r\n *** OK ** OK ** OK *** \r\n\r\n"
      " Turn OFF PC & Drive and Reboot them.",
      "ドライブF/Wのアップデートを完了しました。\r\n\r\n*** OK ** OK ** OK ***\r\n\r\n"
      "PCとドライブの電源を切り再起動してください。"},
     Next,
     false},
    {StepUpdateFailed,
     {" Fail to update.\r\n\r\n *** NG ** NG ** NG *** \r\n\r\n Turn OFF PC and Reboot it.",
      "アップデートを失敗しました。\r\n\r\n*** NG ** NG ** NG ***\r\n\r\n"
      "PCの電源を切り再起動してください。"},
     Next,
     true},
    {StepTypeCodeDiffers,
     {" Cannot update for different Type Code.\r\n\r\n *** NG ** NG ** NG *** \r\n\r\n"
      " Make sure Selected Source File.",
      "タイプコードが異なるのでアップデートできません。\r\n\r\n*** NG ** NG ** NG ***\r\n\r\n"
      "ソースファイルの選択を間違っていませんか。"},
     Next,
     true},
    {StepNoUpdateMode,
     {" Cannot change Drive to Up Mode.\r\n\r\n *** NG ** NG ** NG *** \r\n\r\n"
      " Make sure Selected Target Drive.",
      "ドライブをアップデートモードに変更できません。\r\n\r\n*** NG ** NG ** NG ***\r\n\r\n"
      "ターゲットドライブの選択を間違っていませんか。"},
     Next,
     true},
    {StepNoBackupName,
     {" Fail to make Back Up File.\r\n\r\n Rename Before Back Up File.",
      "バックアップファイルを作成できません。\r\n\r\n"
      "以前のバックアップファイルをリネームして下さい。"},
     Next,
     true},
    // A failed backup must not leave the user with an empty box: the drive was left as it
    // was, and the text says so. Close is enabled again by the Start action; Back stays off
    // and the button keeps its caption.
    {StepBackupFailed,
     {" Fail to back up current F/W.\r\n\r\n *** NG ** NG ** NG *** \r\n\r\n"
      " The drive was not updated.",
      "現在のF/Wのバックアップを失敗しました。\r\n\r\n*** NG ** NG ** NG ***\r\n\r\n"
      "ドライブはアップデートされていません。"},
     Unchanged,
     false},
};

// Each line ends with CR LF, the last one too. Lines 2 and 5 are the same: the drive checks
// its sum code before erasing and again after writing.
constexpr std::array<Texts, 6> kPhaseLines = {{
    {"Backing Up F/W \r\n", "F/Wをバックアップ中\r\n"},
    {"Transferring Writing Data \r\n", "書込データを転送中\r\n"},
    {"Confirming SUM Code \r\n", "サムコードを確認中\r\n"},
    {"Erasing Flash ROM \r\n", "フラッシュROMを消去中\r\n"},
    {"Writing Data into Flash ROM \r\n", "フラッシュROMへ書込中\r\n"},
    {"Confirming SUM Code \r\n", "サムコードを確認中\r\n"},
}};

struct FixedCaptionRow {
  int controlId;
  Texts text;
};

constexpr FixedCaptionRow kFixedCaptions[] = {
    {kTargetDriveLabel, {"Target Drive", "ターゲットドライブ"}},
    {kSourceFileLabel, {"Source File", "ソースファイル"}},
    {kInformationLabel, {"Information", "インフォメーション"}},
    {kProgressLabel, {"Progress", "進行状況"}},
    {kBackupCheckBox, {"Back Up current F/W", "現在のF/Wをバックアップ"}},
    {kCloseButton, {"Close", "クローズ"}},
    {kNextStartButton, {"Next >", "次へ >"}},
    {kBackButton, {"< Back", "< 戻る"}},
};

constexpr Texts kStartCaption = {"Start", "スタート"};

}  // namespace

const StepEntry* FindStepEntry(int step) {
  for (const StepEntry& entry : kStepTexts) {
    if (entry.step == step) return &entry;
  }
  return nullptr;
}

const std::array<Texts, 6>& PhaseLines() {
  return kPhaseLines;
}

Texts FixedCaption(int controlId) {
  for (const FixedCaptionRow& row : kFixedCaptions) {
    if (row.controlId == controlId) return row.text;
  }
  throw std::out_of_range("no fixed caption for control " + std::to_string(controlId));
}

Texts NextCaptionTexts(NextCaption caption) {
  return caption == Start ? kStartCaption : FixedCaption(kNextStartButton);
}

}  // namespace zentor::ui
