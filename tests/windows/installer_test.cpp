// SPDX-License-Identifier: GPL-2.0-or-later
// The installer as a Windows user meets it, under Wine: installed quietly, it puts the
// programs, the Start menu's shortcuts, the .vrl association and the Apps & features entry
// in place; a .vrl opened through the association starts the installed window in the file's
// folder with the file chosen; the installed zentor-cli.exe refuses a log-off while it
// updates; a higher version replaces it in place, an older one is refused; and its removal
// leaves nothing behind.

#include <windows.h>
// after windows.h, which they build on
#include <msi.h>
#include <objbase.h>
#include <process.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/windows/session_end_refusal.h"
#include "tests/windows/program_rig.h"
#include "ui/control_ids.h"

namespace zentor {
namespace {

namespace fs = std::filesystem;

constexpr wchar_t kUpgradeCode[] = L"{E15F5D4B-B9E6-4571-8620-031EE27EFF92}";

int Msiexec(const wchar_t* action, const char* package) {
  const std::wstring path = fs::path("Z:" + std::string(package)).wstring();
  return static_cast<int>(_wspawnlp(_P_WAIT, L"msiexec", L"msiexec", action,
                                    Quoted(path).c_str(), L"/qn", nullptr));
}

fs::path KnownFolder(REFKNOWNFOLDERID id) {
  wchar_t* path = nullptr;
  SHGetKnownFolderPath(id, 0, nullptr, &path);
  fs::path folder = path ? path : L"";
  CoTaskMemFree(path);
  return folder;
}

// A registry value as text; empty where the key or value is not there.
std::wstring RegistryText(HKEY root, const std::wstring& key, const wchar_t* name = nullptr) {
  wchar_t text[512] = {};
  DWORD size = sizeof text;
  RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, text, &size);
  return text;
}
bool KeyExists(HKEY root, const wchar_t* key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

// Where the Start menu's shortcut NAME leads: the all-users menu on Windows, the user's
// under Wine; empty where there is none.
std::wstring ShortcutTarget(const std::wstring& name) {
  for (const fs::path& menu : {KnownFolder(FOLDERID_CommonPrograms), KnownFolder(FOLDERID_Programs)}) {
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    wchar_t target[MAX_PATH] = {};
    if (!fs::exists(menu / (name + L".lnk")) ||
        CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                         reinterpret_cast<void**>(&link)) != S_OK)
      continue;
    if (link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)) == S_OK &&
        file->Load((menu / (name + L".lnk")).c_str(), STGM_READ) == S_OK)
      link->GetPath(target, MAX_PATH, nullptr, 0);
    if (file) file->Release();
    link->Release();
    return target;
  }
  return {};
}

// The installed packages of Zentor, by product code, found as an installer finds them.
std::vector<std::wstring> InstalledProducts() {
  std::vector<std::wstring> products;
  wchar_t code[39];
  for (DWORD i = 0; MsiEnumRelatedProductsW(kUpgradeCode, 0, i, code) == ERROR_SUCCESS; ++i)
    products.emplace_back(code);
  return products;
}
std::wstring ProductInfo(const std::wstring& product, const wchar_t* property) {
  wchar_t value[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  MsiGetProductInfoW(product.c_str(), property, value, &size);
  return value;
}

// What WM_QUERYENDSESSION, sent to the hidden window of a process as a log-off does, was
// answered while the process ran: -1 when it never had one.
LRESULT AnswerToLogOffDuring(HANDLE process) {
  const DWORD id = GetProcessId(process);
  LRESULT answer = -1;
  while (WaitForSingleObject(process, 10) == WAIT_TIMEOUT && answer == -1) {
    for (HWND found = nullptr;
         (found = FindWindowExW(nullptr, found, platform::windows::kSessionEndWindowClass,
                                nullptr));) {
      DWORD owner = 0;
      GetWindowThreadProcessId(found, &owner);
      DWORD_PTR result = 1;
      if (owner == id && SendMessageTimeoutW(found, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF,
                                             SMTO_ABORTIFHUNG, 5000, &result))
        answer = static_cast<LRESULT>(result);
    }
  }
  return answer;
}

TEST(Installer, InstallsOpensUpgradesAndRemovesLeavingNothing) {
  ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
  ASSERT_EQ(Msiexec(L"/i", ZENTOR_MSI), 0);
  const fs::path installed = KnownFolder(FOLDERID_ProgramFiles) / L"Zentor";
  const std::wstring window = (installed / L"zentor.exe").wstring();
  for (const wchar_t* file : {L"zentor.exe", L"zentor-demo.exe", L"zentor-cli.exe", L"README.txt"})
    EXPECT_TRUE(fs::exists(installed / file)) << fs::path(file);
  EXPECT_EQ(ShortcutTarget(L"Zentor"), window);
  EXPECT_EQ(ShortcutTarget(L"Zentor Demo"), (installed / L"zentor-demo.exe").wstring());
  EXPECT_EQ(RegistryText(HKEY_CLASSES_ROOT, L".vrl"), L"Zentor.Firmware");
  EXPECT_EQ(RegistryText(HKEY_CLASSES_ROOT, L"Zentor.Firmware\\shell\\open\\command"),
            Quoted(window) + L" \"%1\"");
  EXPECT_EQ(RegistryText(HKEY_CLASSES_ROOT, L"Zentor.Firmware\\DefaultIcon"), window + L",0");
  ASSERT_EQ(InstalledProducts().size(), 1u);
  const std::wstring product = InstalledProducts()[0];
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE,
                         L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + product,
                         L"DisplayName"),
            L"Zentor");
  EXPECT_EQ(ProductInfo(product, L"VersionString"), L"8.515");
  EXPECT_EQ(ProductInfo(product, L"Publisher"), L"Varel Co. ,Ltd.");
  EXPECT_TRUE(fs::exists(ProductInfo(product, L"ProductIcon")));

  // A folder of firmware files, made by the installed zentor-cli.exe, and one of them opened
  // as a double click opens it, from elsewhere.
  const fs::path folder =
      fs::temp_directory_path() / ("zentor-installed-" + std::to_string(GetCurrentProcessId()));
  fs::create_directories(folder);
  fs::current_path(folder);
  const std::wstring cli = (installed / L"zentor-cli.exe").wstring();
  ASSERT_EQ(_wspawnl(_P_WAIT, cli.c_str(), Quoted(cli).c_str(), L"--simulate", L"samples",
                     nullptr),
            0);
  fs::current_path(folder.parent_path());
  const std::wstring file = (folder / L"kxr70.vrl").wstring();
  SHELLEXECUTEINFOW open = {};
  open.cbSize = sizeof open;
  open.fMask = SEE_MASK_NOCLOSEPROCESS;
  open.lpVerb = L"open";
  open.lpFile = file.c_str();
  open.nShow = SW_SHOWNORMAL;
  ASSERT_TRUE(ShellExecuteExW(&open));
  Window opened(open.hProcess);
  wchar_t image[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  QueryFullProcessImageNameW(opened.process, 0, image, &size);
  EXPECT_EQ(fs::path(image), fs::path(window));
  const HWND list = GetDlgItem(opened.dialog, ui::kSourceFileList);
  EXPECT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), 4);  // the folder's four files
  wchar_t chosen[64] = {};
  SendMessageW(list, CB_GETLBTEXT, SendMessageW(list, CB_GETCURSEL, 0, 0),
               reinterpret_cast<LPARAM>(chosen));
  EXPECT_STREQ(chosen, L"kxr70.vrl");
  EXPECT_EQ(TextOf(opened.dialog, ui::kFileIdentLabel), "ZT-KXR70 KX4410B KXR70   8.515");
  PostMessageW(opened.dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(opened.Exit(), 0u);

  // The installed zentor-cli.exe, updating a drive from a command prompt, refuses a log-off.
  fs::current_path(folder);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION update = {};
  std::wstring command = Quoted(cli) + L" --simulate update --drive cdrom2 --file kxr70.vrl";
  ASSERT_TRUE(CreateProcessW(cli.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, &startup, &update));
  EXPECT_EQ(AnswerToLogOffDuring(update.hProcess), FALSE);
  WaitForSingleObject(update.hProcess, 120000);
  DWORD status = 255;
  GetExitCodeProcess(update.hProcess, &status);
  EXPECT_EQ(status, 0u);
  CloseHandle(update.hThread);
  CloseHandle(update.hProcess);
  fs::current_path(folder.parent_path());
  fs::remove_all(folder);

  // A higher version replaces it in place; the older one is then refused.
  ASSERT_EQ(Msiexec(L"/i", ZENTOR_UPGRADE_MSI), 0);
  ASSERT_EQ(InstalledProducts().size(), 1u);
  EXPECT_EQ(ProductInfo(InstalledProducts()[0], L"VersionString"), L"8.515.1");
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE,
                         (L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + product)
                             .c_str()));
  EXPECT_TRUE(fs::exists(installed / L"zentor.exe"));
  EXPECT_NE(Msiexec(L"/i", ZENTOR_MSI), 0);
  EXPECT_EQ(ProductInfo(InstalledProducts()[0], L"VersionString"), L"8.515.1");

  ASSERT_EQ(Msiexec(L"/x", ZENTOR_UPGRADE_MSI), 0);
  EXPECT_TRUE(InstalledProducts().empty());
  EXPECT_FALSE(fs::exists(installed));
  EXPECT_EQ(ShortcutTarget(L"Zentor"), L"");
  EXPECT_EQ(ShortcutTarget(L"Zentor Demo"), L"");
  for (const wchar_t* key : {L".vrl", L"Zentor.Firmware"})
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, key)) << key;
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Zentor"));
  CoUninitialize();
}

}  // namespace
}  // namespace zentor
