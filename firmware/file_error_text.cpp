// SPDX-License-Identifier: GPL-2.0-or-later
#include "firmware/file_error_text.h"

#include <cerrno>

namespace zentor::firmware {
namespace {

// System errors of an open and the cause they are reported as (Windows' errors arrive as
// the errno numbers they stand for); anything else is an unspecified error.
struct ErrnoCause {
  int error;
  FileErrorCause cause;
};

constexpr ErrnoCause kErrnoCauses[] = {
    {ENOENT, kFileNotFound},       // no such file
    {EACCES, kAccessDenied},       // permission bits or a directory on the way
    {EPERM, kAccessDenied},        // refused by policy (sealed, immutable, ...)
    {EMFILE, kTooManyOpenFiles},   // this process is out of descriptors
    {ENFILE, kTooManyOpenFiles},   // the system is
    {ENAMETOOLONG, kBadPath},      // the name cannot be a path at all
    {ENOTDIR, kBadPath},           // a component of the path is no directory
    {EIO, kHardIo},                // the medium failed
    {ENOSPC, kDiskFull},           // no room (creating)
    {EBADF, kInvalidFile},         // a handle that is no (longer an) open file
    {ESPIPE, kBadSeek},            // no position to seek to
    {ETXTBSY, kSharingViolation},  // another program's use of the file excludes this one
    {ENOLCK, kLockViolation},      // a lock on the file stands in the way
};

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

FileErrorCause CauseOfOpenError(int error) {
  if (error == 0) return kNoError;
  for (const ErrnoCause& row : kErrnoCauses) {
    if (row.error == error) return row.cause;
  }
  return kUnspecifiedError;
}

std::string FileErrorText(FileErrorCause cause, std::string_view fileName) {
  const bool known = cause >= kNoError && cause <= kEndOfFile;
  std::string text(kTexts[known ? cause : kUnspecifiedError]);
  if (const std::size_t at = text.find("%1"); at != std::string::npos) {
    text.replace(at, 2, fileName);
  }
  return text;
}

}  // namespace zentor::firmware
