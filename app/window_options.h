#pragma once

#include <optional>
#include <string>

namespace zentor::app {

// What the command line of a window program (zentor, zentor-demo) says about it.
struct WindowProgram {
  std::string name;     // as the user types it
  std::string summary;  // what the window is for, a few lines of at most 80 columns
};

// --help and --version are answered before the window system is asked for anything, so
// they work without a display: the exit status when the program ends here, nothing when
// it goes on. Options that are not its own may still be Qt's and are left for later.
std::optional<int> AnswerWithoutWindow(int argc, char** argv, const WindowProgram& program);

// Once QApplication has taken Qt's own options (-platform, -style, -reverse, ...) out of the
// command line: anything left that is not the program's own is wrong. Says what, and
// returns exit status 2; nothing when the command line is fine.
std::optional<int> RefuseUnknownOptions(const WindowProgram& program);

}  // namespace zentor::app
