// SPDX-License-Identifier: GPL-2.0-or-later
#include "firmware/file_error_text.h"

namespace zentor::firmware {
namespace {

// By cause; %1 stands for the file name.
constexpr std::string_view kTexts[] = {
    "ｴﾗｰはありませんでした。",
    "%1 へのｱｸｾｽ中に不明なｴﾗｰが発生しました。",
    "%1 が見つかりませんでした。",
    "%1 には無効なﾊﾟｽが含まれています。",
    "開いているﾌｧｲﾙが多すぎるため、%1 を開けませんでした。",
    "%1 へのｱｸｾｽは拒否されました。",
    "%1 へ無効なﾌｧｲﾙ ﾊﾝﾄﾞﾙが関連付けられていました。",
    "現在のﾃﾞｨﾚｸﾄﾘ %1 は削除できませんでした。",
    "%1 を作成できませんでした。そのﾃﾞｨﾚｸﾄﾘはいっぱいです。",
    "%1 のｼｰｸに失敗しました。",
    "%1 へのｱｸｾｽ中にﾊｰﾄﾞｳｪｱ I/O ｴﾗｰが報告されました。",
    "%1 へのｱｸｾｽ中に共有違反が発生しました。",
    "%1 へのｱｸｾｽ中にﾛｯｸ違反が発生しました。",
    "%1 へのｱｸｾｽ中にﾃﾞｨｽｸがいっぱいになりました。",
    "%1 の末尾以降にｱｸｾｽしようとしました。",
};

}  // namespace

std::string FileErrorText(FileErrorCause cause, std::string_view fileName) {
  const bool known = cause >= kNoError && cause <= kEndOfFile;
  std::string text(kTexts[known ? cause : kUnspecifiedError]);
  if (const std::size_t at = text.find("%1"); at != std::string::npos) {
    text.replace(at, 2, fileName);
  }
  return text;
}

}  // namespace zentor::firmware
