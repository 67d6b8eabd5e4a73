// SPDX-License-Identifier: GPL-2.0-or-later
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
constexpr char kClosingNote[] =
    "\nzentor-cli: the console is closing, and Windows ends this program within seconds;\n"
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
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      // These cannot be refused. Returning ends the program at once; a handler that does
      // not return is given the system's wait-to-kill time (five seconds unless set
      // otherwise) before the program is ended. So the handler never returns, and the update
      // gets those seconds: if it ends within them, the program ends as usual. Windows sends
      // log-off and shutdown here to services only; it asks zentor-cli through the update's
      // hidden window instead, which can refuse them.
      Say(kClosingNote, sizeof kClosingNote - 1);
      Sleep(INFINITE);
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
