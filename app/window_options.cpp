#include "app/window_options.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

#include "platform/linux/linux_program_file.h"
#include "ui/version_text.h"

namespace zentor::app {
namespace {

constexpr int kExitDone = 0;
constexpr int kExitUsage = 2;

struct Parser {
  Parser() {
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(help);
    parser.addOption(version);
  }
  QCommandLineParser parser;
  QCommandLineOption help{{"h", "help"}};
  QCommandLineOption version{{"V", "version"}};
};

std::string HelpText(const WindowProgram& program) {
  return "Usage: " + program.name + " [OPTIONS]\n\n" + program.summary +
         "\n\nOptions:\n"
         "  -h, --help      show this text\n"
         "  -V, --version   show the version\n"
         "Qt's own options are taken as well, such as -platform NAME, -style NAME and\n"
         "-reverse.\n";
}

int Refuse(const WindowProgram& program, const std::string& what) {
  std::fprintf(stderr, "%s: %s\nTry '%s --help' for the options.\n", program.name.c_str(),
               what.c_str(), program.name.c_str());
  return kExitUsage;
}

}  // namespace

std::optional<int> AnswerWithoutWindow(int argc, char** argv, const WindowProgram& program) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i)
    arguments << QString::fromLocal8Bit(argv[i]);
  Parser own;
  own.parser.parse(arguments);  // what it does not know may be Qt's
  if (own.parser.isSet(own.help)) {
    std::fputs(HelpText(program).c_str(), stdout);
    return kExitDone;
  }
  if (own.parser.isSet(own.version)) {
    platform::linux_os::LinuxProgramFile file;
    std::printf("%s\n", ui::BuildVersionText(file).c_str());
    return kExitDone;
  }
  return std::nullopt;
}

std::optional<int> RefuseUnknownOptions(const WindowProgram& program) {
  Parser own;
  if (!own.parser.parse(QCoreApplication::arguments())) {
    return Refuse(program, own.parser.errorText().toStdString());
  }
  if (!own.parser.positionalArguments().isEmpty()) {
    return Refuse(program,
                  "unexpected argument '" + own.parser.positionalArguments().first().toStdString() +
                      "': the window takes no files or drives on its command line");
  }
  return std::nullopt;
}

}  // namespace zentor::app
