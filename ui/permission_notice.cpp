// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/permission_notice.h"

#include "ui/control_ids.h"
#include "ui/flash_dialog.h"

namespace zentor::ui {
namespace {

std::string Joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names)
    text += (text.empty() ? "" : ", ") + name;
  return text;
}

}  // namespace

// The facts are the ones zentor-cli prints and docs/linux-drives.md explains: an update needs
// read-write access to the drive's generic node, or root; on /dev/srN the kernel wants
// CAP_SYS_RAWIO for vendor commands, which the generic node does not.
std::string PermissionNoticeText(const platform::PermissionRefusals& refusals,
                                 resources::TemplateLanguage language) {
  if (!refusals.any()) return {};
  const bool japanese = language == resources::TemplateLanguage::Japanese;
  std::string text = japanese ? "システムがこのユーザーにドライブへのアクセスを許可しなかったため、"
                                "ドライブを一覧に表示できません。\n"
                              : "No drive can be listed: the system did not allow this user "
                                "access to a drive.\n";
  if (!refusals.refusedNodes.empty()) {
    const std::string nodes = Joined(refusals.refusedNodes);
    text += japanese ? "\n読み書き用に開けなかったもの: " + nodes + "\n"
                     : "\nNot allowed to open for reading and writing: " + nodes + "\n";
  }
  if (const auto& commands = refusals.refusedCommands) {
    const auto& [blockNode, genericNode] = *commands;
    text += japanese ? "\n" + blockNode +
                           " ではドライブのベンダーコマンドが拒否されました"
                           " (そこでは CAP_SYS_RAWIO、つまり root 権限が必要です)。\n"
                     : "\nThe drive's vendor commands were refused on " + blockNode +
                           " (there they need CAP_SYS_RAWIO, that is root).\n";
    if (!genericNode.empty()) {
      text += japanese ? "ドライブの汎用ノード " + genericNode +
                             " への読み書き権限があれば、特別な権限は要りません。\n"
                       : "Read-write access to the drive's generic node " + genericNode +
                             " needs no capability.\n";
    }
  }
  text += japanese ? "\nアップデートには、ドライブの汎用ノード (/dev/sgN) への読み書き権限、"
                     "または root 権限が必要です。管理者にこのドライブだけのアクセス権を"
                     "依頼してください。その権限があれば、このドライブのファームウェアを"
                     "書き換えられます。\n"
                   : "\nAn update needs read-write access to the drive's generic node "
                     "(/dev/sgN), or root. Ask the administrator for access to this one "
                     "drive; whoever has it can rewrite the drive's firmware.\n";
  return text;
}

// A window with an empty drive list and no word on why would leave the user guessing.
// When no drive exists at all, there is nothing to explain.
std::string FlashDialog::EmptyDriveListNotice(resources::TemplateLanguage language) {
  if (view_.ListCount(kTargetDriveList) != 0) return {};
  return PermissionNoticeText(platform_.permissionRefusals(), language);
}

}  // namespace zentor::ui
