// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/sim/sim_platform.h"
#include "tests/firmware/memory_file_system.h"
#include "ui/flash_dialog.h"
#include "ui/memory_dialog_view.h"

namespace zentor::ui {

// The in-memory window, recording what the user saw: the step at every repaint, every
// position of the progress bar.
class RecordingView : public MemoryDialogView {
 public:
  void RepaintNow() override {
    MemoryDialogView::RepaintNow();
    steps.push_back(dialog ? dialog->WizardStep : -1);
  }
  void SetProgressPosition(int id, int position) override {
    MemoryDialogView::SetProgressPosition(id, position);
    positions.push_back(position);
  }

  const FlashDialog* dialog = nullptr;
  std::vector<int> steps;  // the step each repaint showed
  std::vector<int> positions;
};

// The simulated machine comes first: the dialog takes its name from the program file when
// it is built.
struct SimMachine {
  SimMachine(int osFamily, const std::string& programPath) : platform(osFamily) {
    platform.SetProgramFile(programPath, {});
  }
  platform::sim::SimPlatform platform;
};

// A FlashDialog on a simulated machine and the recording view, connected so that the view's
// clicks reach it. Files come from memory unless a test hands in a file system of its own.
struct DialogFixture : SimMachine {
  explicit DialogFixture(int osFamily = platform::kFamilyWithPassThrough,
                         const std::string& programPath = "/usr/bin/zentor",
                         platform::FileSystem* ownFiles = nullptr)
      : SimMachine(osFamily, programPath), fileSystem(ownFiles ? *ownFiles : files) {
    view.Connect(&dialog);
    view.dialog = &dialog;
  }

  void ShowAt(int step) {
    dialog.WizardStep = step;
    dialog.ShowStep();
  }
  RecordingView view;
  test_support::MemoryFileSystem files;
  platform::FileSystem& fileSystem;  // files, or the test's own
  FlashDialog dialog{view, fileSystem, platform};
};

}  // namespace zentor::ui
