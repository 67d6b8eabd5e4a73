// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

namespace zentor::ui {

// Ids of the main dialog's controls that the program addresses (dialog template 102), and
// the password dialog's edit (template 134).
inline constexpr int kCloseButton = 2;
inline constexpr int kTargetDriveList = 1000;
inline constexpr int kSourceFileList = 1001;
inline constexpr int kNextStartButton = 1003;
inline constexpr int kBackupCheckBox = 1004;
inline constexpr int kInformationText = 1006;
inline constexpr int kProgressBar = 1007;
inline constexpr int kTargetDriveLabel = 1011;
inline constexpr int kSourceFileLabel = 1012;
inline constexpr int kInformationLabel = 1013;
inline constexpr int kProgressLabel = 1014;
inline constexpr int kEnglishRadio = 1015;
inline constexpr int kJapaneseRadio = 1016;
inline constexpr int kFileIdentLabel = 1018;
inline constexpr int kBackupNameLabel = 1019;
inline constexpr int kPassTypeCheckBox = 1020;
inline constexpr int kUpdateLoaderCheckBox = 1021;
inline constexpr int kBackButton = 1022;
inline constexpr int kPasswordEdit = 1025;
inline constexpr int kBanner = 1026;
inline constexpr int kLogoPicture = 1027;
inline constexpr int kVersionLabel = 1030;

// The result a dialog ends with on its cancel command (the Close button's id).
inline constexpr int kCancelResult = kCloseButton;

// Check states as the controls report them.
inline constexpr int kUnchecked = 0;
inline constexpr int kChecked = 1;

}  // namespace zentor::ui
