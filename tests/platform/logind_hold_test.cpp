// SPDX-License-Identifier: GPL-2.0-or-later
// The real machine's hold through logind: python-dbusmock's logind on a bus of the test's
// own, which refuses to block the lid switch as polkit may refuse a remote user. (Virtual
// drives take no hold at all, so no program run reaches logind outside the kernel tier,
// whose guest has no bus.)
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "platform/linux/linux_platform.h"
#include "platform/sim/sim_bus.h"
#include "tests/temp_directory.h"

namespace zentor::platform::linux_os {
namespace {

// logind's list of inhibitors as dbus-send prints it: each one's fields on one line.
std::string Inhibitors() {
  FILE* pipe = ::popen(
      "dbus-send --system --print-reply=literal --dest=org.freedesktop.login1 "
      "/org/freedesktop/login1 org.freedesktop.login1.Manager.ListInhibitors 2>/dev/null",
      "r");
  std::string answer;
  for (int c; (c = std::fgetc(pipe)) != EOF;)
    answer += static_cast<char>(c);
  return ::pclose(pipe) == 0 ? answer : "no answer";
}

// The list once it holds none, or as it stands after a second.
std::string InhibitorsOnceNone() {
  std::string listed;
  for (int tries = 0; tries < 100; ++tries) {
    listed = Inhibitors();
    if (testing::Matches(testing::MatchesRegex(" *array \\[ *\n *\\]\n"))(listed)) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return listed;
}

// A system bus of the test's own with the refusing logind on it, for as long as the test
// runs: closing the shell's input ends both.
class LogindHold : public testing::Test {
 protected:
  void SetUp() override {
    ::setenv("DBUS_SYSTEM_BUS_ADDRESS", bus_.c_str(), 1);
    daemons_ = ::popen(("exec >/dev/null 2>&1; dbus-daemon --session --nofork --address=" + bus_ +
                        " & bus=$!; /usr/bin/python3 -m dbusmock --template " ZENTOR_REFUSING_LOGIND
                        " & logind=$!; read end; kill $logind $bus")
                           .c_str(),
                       "w");
    for (int tries = 0; tries < 500 && Inhibitors() == "no answer"; ++tries)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  void TearDown() override {
    ::pclose(daemons_);
    ::unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
  }

  test_support::TempDirectory folder_{"zentor-logind"};
  std::string bus_ = "unix:path=" + (folder_.path() / "bus").string();
  FILE* daemons_ = nullptr;
};

// Each block is asked for on its own: what logind allows is held for as long as the hold
// lives, under the program's name, and the notice names, once, what it refused.
TEST_F(LogindHold, HoldsWhatLogindAllowsAndNamesTheRest) {
  std::vector<std::string> notices;
  LinuxPlatform machine([&notices](const std::string& why) { notices.push_back(why); });
  const auto blocked = [](const char* what) {
    return testing::ContainsRegex(std::string("\n *") + what +
                                  " +platform_tests +A drive's firmware [^\n]+ +block +uint32");
  };
  for (int update = 0; update < 2; ++update) {
    auto hold = machine.KeepMachineUp();
    ASSERT_NE(hold, nullptr);
    EXPECT_THAT(Inhibitors(), testing::AllOf(blocked("sleep"), blocked("shutdown"), blocked("idle"),
                                             testing::Not(testing::HasSubstr("lid"))));
    hold.reset();
    EXPECT_THAT(InhibitorsOnceNone(), testing::Not(testing::HasSubstr("block")));
  }
  EXPECT_EQ(notices,
            std::vector<std::string>{"logind would not block handle-lid-switch: Access denied"});

  // Virtual drives cut nothing real: no hold, no word, though logind is there.
  sim::SimBus drives;
  EXPECT_EQ(LinuxPlatform(drives).KeepMachineUp(), nullptr);
  EXPECT_THAT(Inhibitors(), testing::Not(testing::HasSubstr("block")));

  // No bus: the update goes on unheld, and the notice says why.
  ::setenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/bus", 1);
  notices.clear();
  EXPECT_EQ(machine.KeepMachineUp(), nullptr);  // told once already
  LinuxPlatform busless([&notices](const std::string& why) { notices.push_back(why); });
  EXPECT_EQ(busless.KeepMachineUp(), nullptr);
  EXPECT_THAT(notices, testing::ElementsAre(testing::StartsWith("no system bus: ")));
}

}  // namespace
}  // namespace zentor::platform::linux_os
