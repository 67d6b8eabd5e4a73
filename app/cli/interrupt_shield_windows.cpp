#include <windows.h>

#include "app/cli/interrupt_shield.h"

namespace zentor::app::cli {
namespace {

void Say(const char* text, DWORD size) {
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), text, size, &written, nullptr);
}

constexpr char kInterruptNote[] =
    "\nzentor-cli: the drive is being updated and must not be interrupted; wait for the end\n";
// Windows ends a program a few seconds after its console closes, whatever it answers.
constexpr char kClosingNote[] =
    "\nzentor-cli: the console is closing, and Windows ends this program in a few seconds;\n"
    "the drive may be left without working firmware\n";
constexpr char kCloseLeftNote[] =
    "zentor-cli: do not close this window until the update has ended: closing it ends the "
    "update\n";

// Runs on a thread of its own that the console starts for the event.
BOOL WINAPI NoteInterrupt(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
      Say(kInterruptNote, sizeof kInterruptNote - 1);
      return TRUE;  // handled: the program goes on
    case CTRL_CLOSE_EVENT:
      Say(kClosingNote, sizeof kClosingNote - 1);
      return TRUE;
    default:
      return FALSE;
  }
}

// The classic console window's system menu, whose Close is the window's close box; none
// where the console is another terminal's (or there is no console).
HMENU ConsoleMenu() {
  const HWND console = GetConsoleWindow();
  return console ? GetSystemMenu(console, FALSE) : nullptr;
}

}  // namespace

struct InterruptShield::Saved {
  HMENU closeTakenFrom = nullptr;
};

InterruptShield::InterruptShield() : saved_(std::make_unique<Saved>()) {
  SetConsoleCtrlHandler(NoteInterrupt, TRUE);
  // The console window's close box is taken away for as long; where that cannot be done,
  // the user is told what closing the window would do.
  const HMENU menu = ConsoleMenu();
  if (menu && EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED) != -1) {
    saved_->closeTakenFrom = menu;
  } else {
    Say(kCloseLeftNote, sizeof kCloseLeftNote - 1);
  }
}

InterruptShield::~InterruptShield() {
  if (saved_->closeTakenFrom)
    EnableMenuItem(saved_->closeTakenFrom, SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
  SetConsoleCtrlHandler(NoteInterrupt, FALSE);
}

}  // namespace zentor::app::cli
