// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/cli/cli_options.h"

#include <array>
#include <utility>

namespace zentor::app::cli {
namespace {

constexpr std::array<std::pair<std::string_view, Command>, 4> kCommands = {{
    {"drives", Command::Drives},
    {"files", Command::Files},
    {"update", Command::Update},
    {"samples", Command::Samples},
}};

ParsedCommandLine Fail(std::string error) {
  return {std::nullopt, std::move(error)};
}

// Checks what only makes sense together; empty when the options hold together.
std::string Inconsistency(const CliOptions& options) {
  if (options.help || options.version) return {};
  if (options.command == Command::None) return "no command given";
  if (options.refusal != DemoRefusal::None && !options.simulate) {
    return "--sim-refuse needs --simulate";
  }
  if (options.command == Command::Samples && !options.simulate) {
    return "samples fit the simulated drives only: use --simulate samples";
  }
  if (options.json && options.command == Command::Samples) {
    return "--json belongs to drives, files and update";
  }
  const bool updateOnly = !options.drive.empty() || !options.file.empty() || options.backup;
  if (options.command != Command::Update && updateOnly) {
    return "--drive, --file and --backup belong to the update command";
  }
  if (options.command == Command::Update && options.drive.empty()) return "update needs --drive";
  if (options.command == Command::Update && options.file.empty()) return "update needs --file";
  return {};
}

}  // namespace

ParsedCommandLine ParseCommandLine(std::span<const std::string_view> arguments) {
  CliOptions options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    if (!argument.starts_with("-")) {
      if (options.command != Command::None) {
        return Fail("unexpected argument \"" + std::string(argument) + "\"");
      }
      for (const auto& [name, command] : kCommands) {
        if (argument == name) options.command = command;
      }
      if (options.command == Command::None) {
        return Fail("unknown command \"" + std::string(argument) + "\"");
      }
      continue;
    }

    std::string_view name = argument;
    std::optional<std::string_view> inlineValue;
    if (const auto equals = argument.find('='); equals != std::string_view::npos) {
      name = argument.substr(0, equals);
      inlineValue = argument.substr(equals + 1);
    }
    // The value of an option that takes one: after "=" or the next argument.
    auto value = [&]() -> std::optional<std::string_view> {
      if (inlineValue) return inlineValue;
      if (i + 1 < arguments.size()) return arguments[++i];
      return std::nullopt;
    };
    auto flag = [&](bool& target) {
      target = true;
      return !inlineValue;
    };

    bool understood = true;
    if (name == "--help" || name == "-h") {
      understood = flag(options.help);
    } else if (name == "--version" || name == "-V") {
      understood = flag(options.version);
    } else if (name == "--simulate") {
      understood = flag(options.simulate);
    } else if (name == "--backup") {
      understood = flag(options.backup);
    } else if (name == "--json") {
      understood = flag(options.json);
    } else if (name == "--drive" || name == "--file" || name == "--lang" ||
               name == "--sim-refuse") {
      const auto given = value();
      if (!given) return Fail(std::string(name) + " needs a value");
      if (name == "--drive") {
        options.drive = *given;
      } else if (name == "--file") {
        options.file = *given;
      } else if (name == "--lang") {
        if (*given != "en" && *given != "ja") {
          return Fail("--lang takes en or ja, not \"" + std::string(*given) + "\"");
        }
        options.japanese = *given == "ja";
      } else {
        const std::optional<DemoRefusal> refusal = DemoRefusalNamed(*given);
        if (!refusal) {
          return Fail("--sim-refuse takes " + std::string(kDemoRefusalNames) + ", not \"" +
                      std::string(*given) + "\"");
        }
        options.refusal = *refusal;
      }
      if (given->empty()) return Fail(std::string(name) + " needs a value");
    } else {
      return Fail("unknown option \"" + std::string(argument) + "\"");
    }
    if (!understood) return Fail(std::string(name) + " takes no value");
  }

  if (std::string error = Inconsistency(options); !error.empty()) return Fail(std::move(error));
  return {options, {}};
}

}  // namespace zentor::app::cli
