// SPDX-License-Identifier: GPL-2.0-or-later
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/native_host.h"
#include "app/exit_status.h"
#include "app/window_options.h"
#include "platform/windows/console_text.h"
#include "platform/windows/wide_text.h"
#include "ui/version_text.h"

namespace zentor::app {
namespace {

bool HasStream(DWORD which) {
  const HANDLE handle = GetStdHandle(which);
  return handle && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

// A window program has no console of its own: what it prints goes to the streams it was
// handed (a pipe, a file), or else to the console of the program that started it, if any.
// False when there is nowhere to print.
bool ReachConsole() {
  if (HasStream(STD_OUTPUT_HANDLE) && HasStream(STD_ERROR_HANDLE)) return true;
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return HasStream(STD_ERROR_HANDLE);
  if (!HasStream(STD_OUTPUT_HANDLE)) std::freopen("CONOUT$", "w", stdout);
  if (!HasStream(STD_ERROR_HANDLE)) std::freopen("CONOUT$", "w", stderr);
  return true;
}

}  // namespace

std::optional<int> AnswerWithoutWindow(int argc, char** argv, const WindowProgram& program,
                                       std::string* path) {
  if (argc < 2) return std::nullopt;
  bool help = false, version = false;
  std::string wrong;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "-h" || argument == "--help") {
      help = true;
    } else if (argument == "-V" || argument == "--version") {
      version = true;
    } else if (path && path->empty() && !argument.starts_with('-') && !argument.empty()) {
      *path = argument;
    } else if (wrong.empty()) {
      wrong = argument.starts_with('-') ? "unknown option '" + argument + "'"
                                        : ExtraArgumentRefusal(argument, path != nullptr);
    }
  }
  if (!help && !version && wrong.empty()) return std::nullopt;
  const bool console = ReachConsole();
  std::string answer;
  int status = kExitCompleted;
  if (!wrong.empty()) {
    answer = program.name + ": " + wrong + "\nTry '" + program.name + " --help' for the options.\n";
    status = kExitUsage;
  } else if (help) {
    answer = HelpText(program, path != nullptr);
  } else if (version) {
    answer = ui::VersionLines(program.name, *NativePlatform());
  }
  if (console) {
    platform::windows::WriteText(status == kExitCompleted ? stdout : stderr, answer);
  } else {
    // Started from the desktop with arguments: nowhere to print, so the answer is shown.
    MessageBoxW(nullptr, platform::windows::Wide(answer).c_str(),
                platform::windows::Wide(program.name).c_str(),
                MB_OK | (status == kExitCompleted ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
  }
  return status;
}

// The desktop is always there.
bool WindowSystemAtHand(int, char**) {
  return true;
}

}  // namespace zentor::app
