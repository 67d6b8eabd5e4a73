// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/windows/windows_platform.h"

#include <windows.h>

#include <array>
#include <string_view>

#include "platform/windows/session_end_refusal.h"
#include "platform/windows/wide_text.h"

namespace zentor::platform::windows {
namespace {

using SupportInfoEntry = DWORD(__cdecl*)();
using SendCommandEntry = DWORD(__cdecl*)(void*);

class LoadedAspiLibrary final : public AspiManager {
 public:
  LoadedAspiLibrary(HMODULE library, SupportInfoEntry supportInfo, SendCommandEntry send)
      : library_(library), supportInfo_(supportInfo), send_(send) {}
  ~LoadedAspiLibrary() override { FreeLibrary(library_); }
  LoadedAspiLibrary(const LoadedAspiLibrary&) = delete;
  LoadedAspiLibrary& operator=(const LoadedAspiLibrary&) = delete;

  std::uint32_t GetASPI32SupportInfo() override { return supportInfo_(); }
  std::uint32_t SendASPI32Command(AspiExecRequest* request) override { return send_(request); }

 private:
  HMODULE library_;
  SupportInfoEntry supportInfo_;
  SendCommandEntry send_;
};

class Win32Event final : public CompletionEvent {
 public:
  explicit Win32Event(HANDLE event) : event_(event) {}
  ~Win32Event() override { CloseHandle(event_); }
  Win32Event(const Win32Event&) = delete;
  Win32Event& operator=(const Win32Event&) = delete;

  void* PostHandle() override { return event_; }
  bool Wait(std::uint32_t milliseconds) override {
    return WaitForSingleObject(event_, milliseconds) == WAIT_OBJECT_0;
  }
  void Reset() override { ResetEvent(event_); }

 private:
  HANDLE event_;
};

// The thread's execution state: while it asks for the system, Windows does not sleep for
// want of input (a user's Sleep, the lid and the power button it cannot refuse). A program
// with a window refuses log-off and shutdown there (it has the reason to show); for one
// without, the hold puts up a hidden window that does.
class WindowsHold final : public MachineHold {
 public:
  WindowsHold(bool awake, std::unique_ptr<SessionEndRefusal> refusal)
      : awake_(awake), refusal_(std::move(refusal)) {}
  ~WindowsHold() override {
    if (awake_) SetThreadExecutionState(ES_CONTINUOUS);
  }
  WindowsHold(const WindowsHold&) = delete;
  WindowsHold& operator=(const WindowsHold&) = delete;

 private:
  bool awake_;
  std::unique_ptr<SessionEndRefusal> refusal_;
};

// The strings of the version resource the program reads, in the language and code page
// its keys name.
constexpr std::array<std::string_view, 4> kVersionKeys = {
    "\\StringFileInfo\\040904b0\\CompanyName", "\\StringFileInfo\\040904b0\\FileDescription",
    "\\StringFileInfo\\040904b0\\ProductName", "\\StringFileInfo\\040904b0\\ProductVersion"};

template <typename Entry>
Entry EntryPoint(HMODULE library, const char* name) {
  return reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

int WindowsPlatform::OsFamily() {
  // GetVersion: the high bit is set on the 9x family alone.
  return (GetVersion() & 0x80000000u) != 0 ? kFamilyWithAspiManager : kFamilyWithPassThrough;
}

AspiLoad WindowsPlatform::LoadAspiManager() {
  const HMODULE library = LoadLibraryW(L"WNASPI32.DLL");
  if (library == nullptr) return {nullptr, AspiLoad::Failure::LibraryNotFound};
  const auto supportInfo = EntryPoint<SupportInfoEntry>(library, "GetASPI32SupportInfo");
  const auto send = EntryPoint<SendCommandEntry>(library, "SendASPI32Command");
  if (supportInfo == nullptr || send == nullptr) {
    FreeLibrary(library);
    return {nullptr, AspiLoad::Failure::EntryPointMissing};
  }
  return {std::make_unique<LoadedAspiLibrary>(library, supportInfo, send), AspiLoad::Failure::None};
}

std::unique_ptr<CompletionEvent> WindowsPlatform::CreateCompletionEvent() {
  const HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (event == nullptr) return nullptr;
  return std::make_unique<Win32Event>(event);
}

std::unique_ptr<MachineHold> WindowsPlatform::KeepMachineUp() {
  if (!keepsUp_) return nullptr;
  const bool awake = SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED) != 0;
  std::unique_ptr<SessionEndRefusal> refusal;
  if (windowless_) refusal = SessionEndRefusal::Raise(reason_);
  if (!awake) {
    notice_.Tell("Windows refused to keep the machine awake");
  } else if (windowless_ && !refusal) {
    notice_.Tell("no window could be made to refuse a log-off or shutdown");
  }
  if (!awake && !refusal) return nullptr;
  return std::make_unique<WindowsHold>(awake, std::move(refusal));
}

// Both in UTF-8 like every text of the program; the program's folder may be named in any
// language.
std::string WindowsPlatform::ProgramFilePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return Utf8(path);
    }
    path.resize(path.size() * 2);
  }
}

std::vector<std::uint8_t> WindowsPlatform::ReadVersionInfo(const std::string& path) {
  const std::wstring widePath = Wide(path);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(widePath.c_str(), &ignored);
  if (size == 0) return {};
  std::vector<std::uint8_t> resource(size);
  if (!GetFileVersionInfoW(widePath.c_str(), 0, size, resource.data())) return {};
  std::vector<std::uint8_t> block;
  for (const std::string_view key : kVersionKeys) {
    wchar_t* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(resource.data(), Wide(key).c_str(), reinterpret_cast<void**>(&value),
                        &length) ||
        value == nullptr) {
      continue;
    }
    const std::string text = Utf8(value);
    block.insert(block.end(), key.begin(), key.end());
    block.push_back(0);
    block.insert(block.end(), text.begin(), text.end());
    block.push_back(0);
  }
  if (!block.empty()) block.push_back(0);  // the empty key that ends the list
  return block;
}

}  // namespace zentor::platform::windows
