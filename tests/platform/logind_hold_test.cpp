// SPDX-License-Identifier: GPL-2.0-or-later
// The real machine's hold through logind: python-dbusmock's logind on a bus of the test's
// own, which refuses to block the lid switch as polkit may refuse a remote user. (Virtual
// drives take no hold at all, so no program run reaches logind outside the kernel tier,
// whose guest has no bus.)
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/linux/linux_platform.h"
#include "platform/sim/sim_bus.h"
#include "tests/temp_directory.h"

extern char** environ;

namespace zentor::platform::linux_os {
namespace {

// The stock logind, but a block of the lid switch is refused.
constexpr const char* kLogindTemplate = R"(
import dbus
from dbusmock.templates.logind import *
from dbusmock.templates import logind

@dbus.service.method(MAIN_IFACE, in_signature='ssss', out_signature='h')
def Inhibit(self, what, who, why, mode):
    if 'handle-lid-switch' in what.split(':'):
        raise dbus.exceptions.DBusException('Access denied',
                                            name='org.freedesktop.DBus.Error.AccessDenied')
    return logind.Inhibit(self, what, who, why, mode)
)";

class LogindHold : public testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(folder_.path() / "refusing_logind.py") << kLogindTemplate;
    ::setenv("DBUS_SYSTEM_BUS_ADDRESS", bus_.c_str(), 1);
    Spawn({"dbus-daemon", "--session", "--nofork", "--address=" + bus_});
    Spawn({"/usr/bin/python3", "-m", "dbusmock", "--template",
           (folder_.path() / "refusing_logind.py").string()});
    for (int tries = 0; tries < 500 && !Inhibitors(); ++tries)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(Inhibitors()) << "no logind on the test's bus";
  }
  void TearDown() override {
    for (const pid_t daemon : daemons_) {
      ::kill(daemon, SIGTERM);
      ::waitpid(daemon, nullptr, 0);
    }
    ::unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
  }

  void Spawn(std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (std::string& argument : arguments)
      argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    ASSERT_EQ(::posix_spawnp(&child, argv[0], &quiet, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&quiet);
    daemons_.push_back(child);
  }

  // logind's list of inhibitors as dbus-send prints it: each one's fields on one line.
  std::optional<std::string> Inhibitors() const {
    FILE* pipe = ::popen(
        "dbus-send --system --print-reply=literal --dest=org.freedesktop.login1 "
        "/org/freedesktop/login1 org.freedesktop.login1.Manager.ListInhibitors 2>/dev/null",
        "r");
    std::string answer;
    for (int c; pipe && (c = std::fgetc(pipe)) != EOF;)
      answer += static_cast<char>(c);
    if (!pipe || ::pclose(pipe) != 0) return std::nullopt;
    return answer;
  }

  test_support::TempDirectory folder_{"zentor-logind"};
  std::string bus_ = "unix:path=" + (folder_.path() / "bus").string();
  std::vector<pid_t> daemons_;
};

// Each block is asked for on its own: what logind allows is held for as long as the hold
// lives, under the program's name, and the notice names, once, what it refused.
TEST_F(LogindHold, HoldsWhatLogindAllowsAndNamesTheRest) {
  std::vector<std::string> notices;
  LinuxPlatform machine([&notices](const std::string& why) { notices.push_back(why); });
  const std::string kNoInhibitor = " *array \\[ *\n *\\]\n";
  const auto blocked = [](const char* what) {
    return testing::ContainsRegex(std::string("\n *") + what +
                                  " +platform_tests +A drive's firmware [^\n]+ +block +uint32");
  };
  for (int update = 0; update < 2; ++update) {
    auto hold = machine.KeepMachineUp();
    ASSERT_NE(hold, nullptr);
    const std::string listed = Inhibitors().value_or("no answer");
    EXPECT_THAT(listed, testing::AllOf(blocked("sleep"), blocked("shutdown"), blocked("idle"),
                                       testing::Not(testing::HasSubstr("lid"))));
    hold.reset();
    // logind sees the descriptors close a moment later.
    std::string after;
    for (int tries = 0; tries < 100; ++tries) {
      after = Inhibitors().value_or("no answer");
      if (testing::Matches(testing::MatchesRegex(kNoInhibitor))(after)) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_THAT(after, testing::MatchesRegex(kNoInhibitor));
  }
  EXPECT_EQ(notices, std::vector<std::string>{"logind would not block handle-lid-switch: Access denied"});

  // Virtual drives cut nothing real: no hold, no word, though logind is there.
  sim::SimBus drives;
  LinuxPlatform demo(drives);
  EXPECT_EQ(demo.KeepMachineUp(), nullptr);
  EXPECT_THAT(Inhibitors().value_or("no answer"), testing::MatchesRegex(kNoInhibitor));

  // No bus: the update goes on unheld, and the notice says why.
  ::setenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/bus", 1);
  notices.clear();
  LinuxPlatform busless([&notices](const std::string& why) { notices.push_back(why); });
  EXPECT_EQ(busless.KeepMachineUp(), nullptr);
  EXPECT_THAT(notices, testing::ElementsAre(testing::StartsWith("no system bus: ")));
}

}  // namespace
}  // namespace zentor::platform::linux_os
