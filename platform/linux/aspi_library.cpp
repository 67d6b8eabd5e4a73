// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/linux/aspi_library.h"

#include <dlfcn.h>

namespace zentor::platform::linux_os {
namespace {

using SupportInfoEntry = std::uint32_t (*)();
using SendCommandEntry = std::uint32_t (*)(void*);

class LoadedAspiLibrary final : public AspiManager {
 public:
  LoadedAspiLibrary(void* library, SupportInfoEntry supportInfo, SendCommandEntry send)
      : library_(library), supportInfo_(supportInfo), send_(send) {}
  ~LoadedAspiLibrary() override { dlclose(library_); }
  LoadedAspiLibrary(const LoadedAspiLibrary&) = delete;
  LoadedAspiLibrary& operator=(const LoadedAspiLibrary&) = delete;

  std::uint32_t GetASPI32SupportInfo() override { return supportInfo_(); }
  std::uint32_t SendASPI32Command(AspiExecRequest* request) override { return send_(request); }

 private:
  void* library_;
  SupportInfoEntry supportInfo_;
  SendCommandEntry send_;
};

}  // namespace

AspiLoad LoadAspiLibrary(const char* name) {
  void* library = dlopen(name, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return {nullptr, AspiLoad::Failure::LibraryNotFound};
  auto* supportInfo = reinterpret_cast<SupportInfoEntry>(dlsym(library, "GetASPI32SupportInfo"));
  auto* send = reinterpret_cast<SendCommandEntry>(dlsym(library, "SendASPI32Command"));
  if (supportInfo == nullptr || send == nullptr) {
    dlclose(library);
    return {nullptr, AspiLoad::Failure::EntryPointMissing};
  }
  return {std::make_unique<LoadedAspiLibrary>(library, supportInfo, send), AspiLoad::Failure::None};
}

}  // namespace zentor::platform::linux_os
