// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/cli/cli_commands.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/sim/sim_platform.h"
#include "tests/firmware/memory_file_system.h"

namespace zentor::app::cli {
namespace {

// The demo's drives on virtual time, the working directory in memory.
struct CliRig {
  CliRig() : drives(AttachDemoDrives(platform.bus(), platform)) {
    WriteSampleFiles(drives, files);
  }

  int Run(std::vector<std::string_view> arguments) {
    const ParsedCommandLine parsed = ParseCommandLine(arguments);
    EXPECT_TRUE(parsed.options) << parsed.error;
    return RunDialogCommand(*parsed.options, platform, files, {out, err, false});
  }

  std::vector<std::uint8_t> OpcodesReceivedBy(int drive) const {
    std::vector<std::uint8_t> opcodes;
    for (const auto& command : drives[drive].drive->received()) opcodes.push_back(command.cdb[0]);
    return opcodes;
  }

  platform::sim::SimPlatform platform;
  std::vector<DemoDrive> drives;
  test_support::MemoryFileSystem files;
  std::ostringstream out;
  std::ostringstream err;
};

TEST(CliCommands, ABackupThatCannotBeChosenSendsNothingToTheDrive) {
  CliRig rig;
  for (char n = '0'; n <= '9'; ++n) rig.files.Put(std::string("CDRWFW0") + n + ".VRL", {0});

  EXPECT_EQ(rig.Run({"update", "--drive", "0", "--file", "kxr42.vrl", "--backup"}),
            kExitNotCompleted);
  EXPECT_EQ(rig.OpcodesReceivedBy(0), std::vector<std::uint8_t>{0x12})
      << "the scan's INQUIRY and nothing else";
  EXPECT_NE(rig.err.str().find("the backup could not be chosen; nothing was written"),
            std::string::npos);
}

}  // namespace
}  // namespace zentor::app::cli
