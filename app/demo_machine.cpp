// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/demo_machine.h"

#include <algorithm>
#include <cctype>

#include "app/native_host.h"
#include "firmware/loader_table.h"
#include "firmware/sample_firmware.h"
#include "firmware/type_code_table.h"

namespace zentor::app {
namespace {

struct DemoModel {
  const char* product;  // a supported model, as INQUIRY reports it
  const char* code;     // its firmware type
};

// One drive of each family 5..8.
constexpr DemoModel kDemoModels[] = {
    {"CD-RW KX4840A   ", "KXR42"},
    {"CD-RW KX5240A   ", "KXR60"},
    {"DVD/CDRW KX8040 ", "KXR70"},
    {"DVD/CDRW KX8160 ", "KXR80"},
};

// The drive's current firmware and the newer one of the file differ in content only.
constexpr std::uint32_t kInstalledSeed = 1;
constexpr std::uint32_t kUpdateSeed = 2;

int RowOfCode(std::string_view code) {
  for (int row = 0; firmware::TypeCodeTable[row].family != firmware::kTerminatorFamily; ++row) {
    if (firmware::TypeCodeTable[row].code == code) return row;
  }
  return -1;
}

// The loader a drive of the family runs while it updates: the table's first of the family.
const firmware::LoaderRow& LoaderOfFamily(int family) {
  const firmware::LoaderRow* row = firmware::LoaderTable;
  while (row->family != family && row->family != firmware::kTerminatorFamily)
    ++row;
  return *row;
}

std::string FileNameOf(std::string_view code) {
  std::string name(code);
  std::ranges::transform(name, name.begin(), [](unsigned char c) { return std::tolower(c); });
  return name + ".vrl";
}

}  // namespace

std::vector<DemoDriveRecipe> DemoDriveRecipes() {
  std::vector<DemoDriveRecipe> recipes;
  for (const DemoModel& demo : kDemoModels) {
    const int row = RowOfCode(demo.code);
    const firmware::TypeCodeRow& code = firmware::TypeCodeTable[row];
    const firmware::LoaderRow& loader = LoaderOfFamily(code.family);
    platform::sim::FlashDrive::Setup setup;
    setup.identity = {"VAREL   ", demo.product, "1.00"};
    setup.loaderProduct = loader.loaderId;
    setup.idBlockAddress = loader.idBlockAddress;
    const firmware::ImageBytes installed = firmware::MakeSampleImage(row, kInstalledSeed);
    setup.flash.assign(installed.begin(), installed.end());
    recipes.push_back({std::move(setup), row, FileNameOf(demo.code)});
  }
  return recipes;
}

std::vector<DemoDrive> AttachDemoDrives(platform::sim::SimBus& bus, platform::Clock& clock) {
  std::vector<DemoDrive> drives;
  int number = 0;
  for (DemoDriveRecipe& recipe : DemoDriveRecipes()) {
    const std::string product = recipe.setup.identity.product;
    auto drive = std::make_shared<platform::sim::FlashDrive>(std::move(recipe.setup), clock);
    drive->KeepDataOut(false);
    bus.Attach(platform::sim::SimBus::CdromName(number++), drive);
    drives.push_back({product, recipe.typeCodeRow, recipe.fileName, std::move(drive)});
  }
  return drives;
}

std::vector<std::uint8_t> UpdateImageOfRow(int typeCodeRow) {
  const firmware::ImageBytes image = firmware::MakeSampleImage(typeCodeRow, kUpdateSeed);
  return {image.begin(), image.end()};
}

std::vector<std::uint8_t> UpdateImageOf(const DemoDrive& drive) {
  return UpdateImageOfRow(drive.typeCodeRow);
}

std::vector<std::string> WriteSampleFiles(const std::vector<DemoDrive>& drives,
                                          platform::FileSystem& files) {
  std::vector<std::string> written;
  for (const DemoDrive& drive : drives) {
    // Only a name that is free for sure is written: an existing file, or one that cannot be
    // looked at, stays as it is, and so does one that appears before the sample is whole.
    const platform::OpenResult existing = files.OpenForReading(drive.fileName);
    if (existing.file || existing.cause != platform::kFileNotFound) continue;
    const std::optional<firmware::ImageBytes> stored =
        firmware::SampleFileBytes(drive.typeCodeRow, UpdateImageOf(drive));
    if (stored && files.CreateNewFile(drive.fileName, *stored).error == 0)
      written.push_back(drive.fileName);
  }
  return written;
}

DemoMachine::DemoMachine()
    : platform_(NativePlatformOver(bus_)),
      drives_(AttachDemoDrives(bus_, *platform_)) {}

}  // namespace zentor::app
