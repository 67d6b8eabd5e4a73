// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <optional>
#include <string>

namespace zentor::app {

// What the command line of a window program (zentor, zentor-demo) says about it.
struct WindowProgram {
  std::string name;     // as the user types it
  std::string summary;  // what the window is for, a few lines of at most 80 columns
};

// The usage line of the program's help, and why an argument that is not an option is
// refused: the same words on every system.
inline std::string UsageLine(const WindowProgram& program, bool takesPath) {
  return "Usage: " + program.name + (takesPath ? " [OPTIONS] [FILE|FOLDER]\n" : " [OPTIONS]\n");
}
// The whole help: the usage line, what the program is for, its options.
inline std::string HelpText(const WindowProgram& program, bool takesPath) {
  return UsageLine(program, takesPath) + "\n" + program.summary +
         "\n\nOptions:\n"
         "  -h, --help      show this text\n"
         "  -V, --version   show the version\n"
#ifndef _WIN32
         "Qt's own options are taken as well, such as -platform NAME, -style NAME and\n"
         "-reverse.\n"
#endif
      ;
}
inline std::string ExtraArgumentRefusal(const std::string& argument, bool takesPath) {
  return "unexpected argument '" + argument + "': " +
         (takesPath ? "the window starts in one file or folder"
                    : "the window takes no files or drives on its command line");
}

// The whole command line is judged before the window system is asked for anything, so
// --help, --version and a wrong option are answered without a display: the exit status when
// the program ends here (2 for an option that is neither its own nor Qt's, or an argument
// that is not an option where none is taken), nothing when it goes on to open its window.
// Given `path`, the program takes one file or folder to start in, and it lands there.
std::optional<int> AnswerWithoutWindow(int argc, char** argv, const WindowProgram& program,
                                       std::string* path = nullptr);

// Whether the window system can be started: a display to reach, or a platform that needs
// none. Without one, Qt would end the program before it could say anything of its own.
bool WindowSystemAtHand(int argc, char** argv);

}  // namespace zentor::app
