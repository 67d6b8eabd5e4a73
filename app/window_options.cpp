// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/window_options.h"

#include <QCommandLineParser>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "app/exit_status.h"
#include "platform/linux/linux_program_file.h"
#include "ui/version_text.h"

namespace zentor::app {
namespace {

// The options QApplication takes out of the command line itself (qt6options(7)): known
// here too, so that the whole command line is judged before the window system is asked for
// anything, and a wrong option is refused with or without a display.
constexpr const char* kQtValueOptions[] = {
    "style",         "stylesheet", "qmljsdebugger",   "platform",    "platformpluginpath",
    "platformtheme", "plugin",     "qwindowgeometry", "qwindowicon", "qwindowtitle",
    "session",       "display",    "geometry",        "dialogs",     "fontengine"};
constexpr const char* kQtFlagOptions[] = {"widgetcount", "reverse"};

struct Parser {
  Parser() {
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(help);
    parser.addOption(version);
    for (const char* name : kQtValueOptions)
      parser.addOption(QCommandLineOption(name, {}, "value"));
    for (const char* name : kQtFlagOptions)
      parser.addOption(QCommandLineOption(name));
  }
  QCommandLineParser parser;
  QCommandLineOption help{{"h", "help"}};
  QCommandLineOption version{{"V", "version"}};
};

int Refuse(const WindowProgram& program, const std::string& what) {
  std::fprintf(stderr, "%s: %s\nTry '%s --help' for the options.\n", program.name.c_str(),
               what.c_str(), program.name.c_str());
  return kExitUsage;
}

}  // namespace

std::optional<int> AnswerWithoutWindow(int argc, char** argv, const WindowProgram& program,
                                       std::string* path) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i)
    arguments << QString::fromLocal8Bit(argv[i]);
  Parser own;
  if (!own.parser.parse(arguments)) return Refuse(program, own.parser.errorText().toStdString());
  if (own.parser.isSet(own.help)) {
    std::fputs(HelpText(program, path != nullptr).c_str(), stdout);
    return kExitCompleted;
  }
  if (own.parser.isSet(own.version)) {
    platform::linux_os::LinuxProgramFile file;
    std::fputs(ui::VersionLines(program.name, file).c_str(), stdout);
    return kExitCompleted;
  }
  const QStringList positional = own.parser.positionalArguments();
  if (path && positional.size() == 1) *path = positional.first().toLocal8Bit().toStdString();
  if (positional.size() > (path ? 1 : 0)) {
    return Refuse(program, ExtraArgumentRefusal(positional.last().toStdString(), path != nullptr));
  }
  return std::nullopt;
}

bool WindowSystemAtHand(int argc, char** argv) {
  // The platform as Qt chooses it: -platform, else QT_QPA_PLATFORM, else X11 or Wayland.
  std::string_view platform;
  if (const char* chosen = std::getenv("QT_QPA_PLATFORM")) platform = chosen;
  for (int i = 1; i + 1 < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "-platform" || argument == "--platform") platform = argv[i + 1];
  }
  const auto set = [](const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
  };
  if (platform.starts_with("xcb")) return set("DISPLAY");
  if (platform.starts_with("wayland")) return set("WAYLAND_DISPLAY");
  // offscreen, minimal, vnc, eglfs, linuxfb: none needs a display.
  if (!platform.empty()) return true;
  return set("DISPLAY") || set("WAYLAND_DISPLAY");
}

}  // namespace zentor::app
