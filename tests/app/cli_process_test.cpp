// SPDX-License-Identifier: GPL-2.0-or-later
// zentor-cli as a user runs it: a separate process in a directory of its own, on the
// simulated drives in real time.

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <thread>
#include <vector>

#include "tests/temp_directory.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

std::string ReadAll(const fs::path& path) {
  std::ifstream stream(path, std::ios::binary);
  std::ostringstream text;
  text << stream.rdbuf();
  return text.str();
}

// What to do once a text has appeared on a program's standard output.
struct Waypoint {
  std::string text;
  std::function<void(pid_t)> action;
};
const auto kInterrupt = [](pid_t child) { ::kill(child, SIGINT); };

// A fresh working directory, removed at the end; the streams are caught beside it so they
// do not show up among the firmware files.
class CliProcess : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directory(work_); }

  // Runs zentor-cli with the arguments, doing what the waypoints say as their texts appear.
  Outcome Run(std::vector<std::string> arguments, const std::vector<Waypoint>& waypoints = {}) {
    return RunProgram(ZENTOR_CLI_PATH, std::move(arguments), waypoints);
  }
  // Any of the programs; the window programs on Qt's offscreen platform.
  Outcome RunProgram(const char* program, std::vector<std::string> arguments,
                     const std::vector<Waypoint>& waypoints = {}) {
    const fs::path out = root_ / "stdout";
    const fs::path err = root_ / "stderr";
    const pid_t child = Start(program, std::move(arguments), work_, out, err);
    for (const Waypoint& waypoint : waypoints) {
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
      while (ReadAll(out).find(waypoint.text) == std::string::npos &&
             std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
      }
      waypoint.action(child);
    }
    return Wait(child, out, err);
  }
  // Starts a program (looked for on the PATH) in a folder, its streams caught in files.
  pid_t Start(const char* program, std::vector<std::string> arguments, const fs::path& folder,
              const fs::path& out, const fs::path& err) {
    std::vector<char*> argv = {const_cast<char*>(program)};
    for (std::string& argument : arguments)
      argv.push_back(argument.data());
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
      const int outFd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      const int errFd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      if (outFd < 0 || errFd < 0 || ::dup2(outFd, 1) < 0 || ::dup2(errFd, 2) < 0 ||
          ::chdir(folder.c_str()) != 0 || ::setenv("QT_QPA_PLATFORM", "offscreen", 1) != 0 ||
          ::unsetenv("DISPLAY") != 0 || ::unsetenv("WAYLAND_DISPLAY") != 0) {
        ::_exit(127);
      }
      ::execvp(argv[0], argv.data());
      ::_exit(127);
    }
    return child;
  }
  static Outcome Wait(pid_t child, const fs::path& out, const fs::path& err) {
    int status = 0;
    ::waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), ReadAll(out),
            ReadAll(err)};
  }

  zentor::test_support::TempDirectory temp_{"zentor-cli-test"};
  const fs::path& root_ = temp_.path();
  const fs::path work_ = root_ / "work";
};

// Each program answers --version (name and version, then the window's label) without opening
// a window, and refuses what it does not know with exit status 2, saying what it was, also
// where Qt would find no display (xcb without DISPLAY).
TEST_F(CliProcess, HelpVersionAndBadLines) {
  struct Case {
    const char* program;
    std::vector<std::string> arguments;
    int status;
    std::string outStart;
    std::string errPart;
  };
  const std::string label = " 8.515\n2003  Ver 8.515.\n";
  // clang-format off
  std::vector<Case> cases = {
      {ZENTOR_CLI_PATH, {"--version"}, 0, "zentor-cli" + label, ""},
      {ZENTOR_CLI_PATH, {"--simulate", "flash"}, 2, "",
       "zentor-cli: unknown command \"flash\"\n\nUsage:"},
      {ZENTOR_CLI_PATH, {"update", "--drive", "0"}, 2, "", "zentor-cli: update needs --file\n"},
      {ZENTOR_CLI_PATH, {"--sim-refuse", "block", "drives"}, 2, "", ": --sim-refuse needs --simulate\n"},
#ifdef ZENTOR_WINDOW_PATH
      {ZENTOR_WINDOW_PATH, {"--version"}, 0, "zentor" + label, ""},
      {ZENTOR_WINDOW_PATH, {"-style", "fusion", "new.vrl", "old.vrl"}, 2, "",
       "zentor: unexpected argument 'old.vrl': the window starts in one file or folder"},
      {ZENTOR_WINDOW_PATH, {"-platform", "xcb", "--bogus"}, 2, "", "zentor: Unknown option 'bogus'."},
      // No display: the path is refused all the same, before Qt would end the program.
      {ZENTOR_WINDOW_PATH, {"-platform", "xcb", "/no/such.vrl"}, 2, "",
       "zentor: no such file or folder: /no/such.vrl\n"},
      {ZENTOR_DEMO_PATH, {"-V"}, 0, "zentor-demo" + label, ""},
#endif
  };
  // clang-format on
  for (Case& c : cases) {
    SCOPED_TRACE(std::string(c.program) + " " + c.arguments.back());
    const Outcome outcome = RunProgram(c.program, c.arguments);
    EXPECT_EQ(outcome.status, c.status);
    EXPECT_TRUE(outcome.out.starts_with(c.outStart)) << outcome.out;
    // Qt may say something of its own first (XDG_RUNTIME_DIR not set, ...).
    EXPECT_NE(outcome.err.find(c.errPart), std::string::npos) << outcome.err;
    if (c.outStart.empty()) {
      EXPECT_EQ(outcome.out, "");
    }
  }
}

TEST_F(CliProcess, SamplesDrivesAndFiles) {
  const Outcome none = Run({"--simulate", "files"});
  EXPECT_EQ(none.status, 0);
  EXPECT_EQ(none.out, "");
  EXPECT_EQ(none.err, "zentor-cli: no firmware file (*.vrl, *.bin) in the current directory\n");
  { std::ofstream(work_ / "kxr60.vrl") << "mine"; }
  const Outcome samples = Run({"--simulate", "samples"});
  EXPECT_EQ(samples.status, 0);
  EXPECT_EQ(samples.out, "wrote kxr42.vrl\nwrote kxr70.vrl\nwrote kxr80.vrl\n");
  EXPECT_EQ(samples.err, "kept kxr60.vrl: the name is taken\n");
  EXPECT_EQ(ReadAll(work_ / "kxr60.vrl"), "mine");

  const Outcome files = Run({"--simulate", "files"});
  EXPECT_EQ(files.status, 0);
  EXPECT_EQ(files.out,
            "kxr42.vrl\tZT-KXR42 KX4410B KXR42   8.515\nkxr60.vrl\t\n"
            "kxr70.vrl\tZT-KXR70 KX4410B KXR70   8.515\n"
            "kxr80.vrl\tZT-KXR80 KX4410B KXR80   8.515\n");
  const json fileList = json::parse(Run({"--simulate", "files", "--json"}).out);
  ASSERT_EQ(fileList.size(), 4u);
  EXPECT_EQ(fileList[1], json::parse(R"({"name": "kxr60.vrl", "usable": false,
      "reason": "not a firmware file of a known type"})"));
  EXPECT_EQ(fileList[3], json::parse(R"({"name": "kxr80.vrl", "usable": true, "form": "stored",
      "drive": "ZT-KXR80 KX4410B KXR80   8.515", "type_code": "KXR80 ", "short_id": "ZT-KXR80"})"));

  const Outcome unknown = Run({"--simulate", "update", "--drive", "cdrom", "--file", "kxr42.vrl"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_NE(unknown.err.find("no single drive \"cdrom\" in the list\nThe drives are:\n"
                             "  0  cdrom0 :  VAREL   CD-RW KX4840A   1.00\n"),
            std::string::npos)
      << unknown.err;
}

// The update as a script sees it: one JSON object per line, stdout nothing else.
TEST_F(CliProcess, UpdateWithBackupCompletesThroughCtrlC) {
  Run({"--simulate", "samples"});
  const Outcome update = Run(
      {"--simulate", "update", "--drive", "cdrom0", "--file", "kxr42.vrl", "--backup", "--json"},
      {{">> Erasing Flash ROM", kInterrupt}});
  EXPECT_EQ(update.status, 0) << update.err;
  EXPECT_NE(update.err.find("zentor-cli: the drive is being updated and must not be interrupted"),
            std::string::npos)
      << update.err;
  // Virtual drives cut nothing real: the machine is not kept up for them, and no word is said.
  EXPECT_EQ(update.err.find("held off"), std::string::npos) << update.err;
  std::vector<json> events;
  std::istringstream lines(update.out);
  for (std::string line; std::getline(lines, line);)
    events.push_back(json::parse(line));
  ASSERT_GE(events.size(), 3u);
  // Each text once; the phase list once per phase, six with the backup line; the bar filled
  // once for the backup and once for the update; the backup's file named once it is written.
  std::map<std::string, int> count;
  for (const json& event : events) {
    ++count[event["event"]];
    count["full"] += event["event"] == "progress" && event["position"] == 120;
  }
  EXPECT_EQ(count, (std::map<std::string, int>{{"backup", 1},
                                               {"full", 2},
                                               {"phases", 6},
                                               {"progress", count["progress"]},
                                               {"result", 1},
                                               {"step", 3}}));
  EXPECT_EQ(events.back(),
            json::parse(R"({"event": "result", "step": 11, "completed": true, "exit_status": 0})"));
  EXPECT_TRUE(events.end()[-2]["text"].get<std::string>().ends_with(
      " *** OK ** OK ** OK *** \n\n Turn OFF PC & Drive and Reboot them."));
  EXPECT_EQ(std::ranges::find(events, json{{"event", "backup"}, {"file", "CDRWFW00.VRL"}}) -
                events.begin(),
            std::ranges::find(events, 6, [](const json& e) { return e.value("step", 0); }) -
                events.begin() - 1);
  EXPECT_EQ(update.out.find("\\r"), std::string::npos);
  EXPECT_EQ(fs::file_size(work_ / "CDRWFW00.VRL"), 1048576u);
}

TEST_F(CliProcess, ARefusedFlashStartEndsWithStatusOneAndTheNgTextInJapanese) {
  Run({"--simulate", "samples"});
  const Outcome update = Run({"--simulate", "--sim-refuse=flash-start", "update", "--drive", "1",
                              "--file=kxr60.vrl", "--lang", "ja"});
  EXPECT_EQ(update.status, 1);
  EXPECT_TRUE(
      update.out.ends_with("アップデートを失敗しました。\n\n*** NG ** NG ** NG ***\n\n"
                           "PCの電源を切り再起動してください。\n\n"))
      << update.out;
  EXPECT_EQ(update.out.find("OK ** OK"), std::string::npos);
  // The blocks sent pass the bar's end: the log never shows more than the bar holds, while
  // JSON gives the count as it is.
  // In a log the bar leaves a line per tenth of its range, not one per position.
  EXPECT_LE(std::count(update.err.begin(), update.err.end(), '\n'), 15) << update.err;
  EXPECT_TRUE(update.err.ends_with("progress 120/120\n")) << update.err;
  EXPECT_EQ(update.err.find("progress 120/120"), update.err.rfind("progress 120/120"));
  EXPECT_EQ(update.err.find("progress 341"), std::string::npos) << update.err;
  const Outcome json = Run({"--simulate", "--sim-refuse=flash-start", "update", "--drive", "1",
                            "--file=kxr60.vrl", "--json"});
  EXPECT_NE(json.out.find(R"({"event":"progress","position":341,"range":120})"), std::string::npos)
      << json.out;
}

// An update ends before the flash, with status 1, when the backup's folder cannot be synced
// (strace fails the second fsync, the folder's after the file's own; LeakSanitizer cannot
// run traced). (A drive in use ends so too: the kernel tier shows it on real nodes.)
TEST_F(CliProcess, ABackupNotSurelyOnDiskEndsBeforeTheFlash) {
  Run({"--simulate", "samples"});
  // A backup whose folder could not be synced is whole: it is kept, and named as such.
  const Outcome unsynced = RunProgram(
      "/usr/bin/strace", {"-f", "-o", "/dev/null", "-E", "ASAN_OPTIONS=detect_leaks=0", "-e",
                          "inject=fsync:error=EIO:when=2", ZENTOR_CLI_PATH, "--simulate", "update",
                          "--drive", "cdrom0", "--file", "kxr42.vrl", "--backup", "--json"});
  EXPECT_EQ(unsynced.status, 1);
  EXPECT_NE(unsynced.out.find(" Fail to back up current F/W."), std::string::npos) << unsynced.out;
  EXPECT_NE(unsynced.out.find(R"({"event":"backup","file":"CDRWFW00.VRL"})"), std::string::npos);
  EXPECT_NE(unsynced.out.find(R"("error":"the backup CDRWFW00.VRL was written, but its folder)"),
            std::string::npos)
      << unsynced.out;
  EXPECT_EQ(fs::file_size(work_ / "CDRWFW00.VRL"), 1048576u);
}

// Copies of zentor-cli side by side in one folder, as on a repair bench: each backup takes a
// file of its own and never one that another program wrote, also when the name is taken
// while the firmware is read out where the file system refuses renameat2's no-replace
// (strace makes it so, and the backup takes its name by a hard link).
TEST_F(CliProcess, EachBackupTakesAFileOfItsOwn) {
  Run({"--simulate", "samples"});
  const Outcome linked = RunProgram(
      "/usr/bin/strace",
      {"-f", "-o", "/dev/null", "-E", "ASAN_OPTIONS=detect_leaks=0", "-e",
       "inject=renameat2:error=EINVAL", ZENTOR_CLI_PATH, "--simulate", "update", "--drive",
       "cdrom0", "--file", "kxr42.vrl", "--backup", "--json"},
      {{"\"step\":5", [this](pid_t) { std::ofstream(work_ / "CDRWFW00.VRL") << "mine"; }}});
  EXPECT_TRUE(linked.status == 0 &&
              linked.out.find(R"({"event":"backup","file":"CDRWFW01.VRL"})") != std::string::npos)
      << linked.out;
  EXPECT_EQ(ReadAll(work_ / "CDRWFW00.VRL"), "mine");

  // Two copies started together, or the second a little later, both choose CDRWFW00.VRL;
  // three such benches at once, a folder each.
  const std::vector<std::string> kCopies[] = {{"cdrom0", "kxr42.vrl"}, {"cdrom1", "kxr60.vrl"}};
  std::vector<std::pair<pid_t, fs::path>> copies;
  for (const int offsetMs : {0, 30, 300}) {
    const fs::path bench = root_ / std::to_string(offsetMs);
    fs::create_directory(bench);
    for (const auto& copy : kCopies) {
      fs::copy(work_ / copy[1], bench / copy[1]);
      copies.emplace_back(Start(ZENTOR_CLI_PATH,
                                {"--simulate", "--json", "update", "--drive", copy[0], "--file",
                                 copy[1], "--backup"},
                                bench, bench.string() + copy[0], "/dev/null"),
                          bench);
      std::this_thread::sleep_for(std::chrono::milliseconds(offsetMs));
    }
  }
  // Each names a file of its own that holds its own drive's firmware: cdrom0's is the one the
  // run above saved, cdrom1's another.
  for (std::size_t i = 0; i < copies.size(); ++i) {
    const auto& [copy, bench] = copies[i];
    const Outcome outcome = Wait(copy, bench.string() + kCopies[i % 2][0], "/dev/null");
    const std::size_t told = outcome.out.find(R"({"event":"backup","file":")");
    ASSERT_TRUE(outcome.status == 0 && told != std::string::npos) << outcome.out;
    EXPECT_EQ(ReadAll(bench / outcome.out.substr(told + 26, 12)) == ReadAll(work_ / "CDRWFW01.VRL"),
              i % 2 == 0)
        << bench;
    EXPECT_EQ(std::distance(fs::directory_iterator(bench), fs::directory_iterator()), 4);
  }
}

}  // namespace
