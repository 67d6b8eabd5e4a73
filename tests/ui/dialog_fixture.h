#pragma once

#include "platform/sim/sim_platform.h"
#include "tests/firmware/memory_file_system.h"
#include "ui/flash_dialog.h"
#include "ui/memory_dialog_view.h"

namespace zentor::ui {

// A FlashDialog on the in-memory view, connected so that the view's clicks reach it.
struct DialogFixture {
  DialogFixture() { view.Connect(&dialog); }

  MemoryDialogView view;
  test_support::MemoryFileSystem files;
  platform::sim::SimPlatform platform;
  FlashDialog dialog{view, files, platform};

  void ShowAt(int step) {
    dialog.WizardStep = step;
    dialog.ShowStep();
  }
  std::string Info() const { return view.Text(1006); }
  std::string NextCaption() const { return view.Text(1003); }
  bool BackEnabled() const { return view.IsEnabled(1022); }
};

}  // namespace zentor::ui
