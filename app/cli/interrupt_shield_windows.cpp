#include <windows.h>

#include "app/cli/interrupt_shield.h"

namespace zentor::app::cli {
namespace {

constexpr char kNote[] =
    "\nzentor-cli: the drive is being updated and must not be interrupted; wait for the end\n";

// Runs on a thread of its own that the console starts for the event.
BOOL WINAPI NoteInterrupt(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT: {
      DWORD written = 0;
      WriteFile(GetStdHandle(STD_ERROR_HANDLE), kNote, sizeof kNote - 1, &written, nullptr);
      return TRUE;  // handled: the program goes on
    }
    default:
      return FALSE;
  }
}

}  // namespace

struct InterruptShield::Saved {};

InterruptShield::InterruptShield() : saved_(std::make_unique<Saved>()) {
  SetConsoleCtrlHandler(NoteInterrupt, TRUE);
}

InterruptShield::~InterruptShield() {
  SetConsoleCtrlHandler(NoteInterrupt, FALSE);
}

}  // namespace zentor::app::cli
