// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/windows/windows_file_system.h"

#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <limits>

#include "platform/name_case.h"
#include "platform/windows/wide_text.h"

namespace zentor::platform::windows {
namespace {

class WindowsFile final : public File {
 public:
  explicit WindowsFile(HANDLE handle) : handle_(handle) {}
  ~WindowsFile() override { CloseHandle(handle_); }
  WindowsFile(const WindowsFile&) = delete;
  WindowsFile& operator=(const WindowsFile&) = delete;

  std::int64_t Read(std::span<std::uint8_t> into) override { return ReadFrom(nullptr, into); }

  std::int64_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) override {
    // A synchronous read at an offset moves the file position; the position is put back.
    LARGE_INTEGER here{};
    if (!SetFilePointerEx(handle_, {}, &here, FILE_CURRENT)) return -1;
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    const std::int64_t count = ReadFrom(&at, into);
    SetFilePointerEx(handle_, here, nullptr, FILE_BEGIN);
    return count;
  }

  std::optional<std::uint64_t> Length() override {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handle_, &size)) return std::nullopt;
    return static_cast<std::uint64_t>(size.QuadPart);
  }

 private:
  std::int64_t ReadFrom(OVERLAPPED* at, std::span<std::uint8_t> into) {
    DWORD count = 0;
    const auto wanted =
        static_cast<DWORD>(std::min<std::size_t>(into.size(), std::numeric_limits<DWORD>::max()));
    if (!ReadFile(handle_, into.data(), wanted, &count, at)) {
      return GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
    }
    return count;
  }

  HANDLE handle_;
};

// A new file's failure as the callers tell them apart: a name that is taken, or else the
// error number of what it comes closest to.
int NewFileErrno(unsigned long error) {
  switch (error) {
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return EACCES;
    case ERROR_PATH_NOT_FOUND:
      return ENOENT;
    default:
      return EIO;
  }
}

int LastErrno() {
  return NewFileErrno(GetLastError());
}

OpenResult OpenFailed(unsigned long error) {
  return {nullptr, static_cast<int>(error), CauseOfWin32Error(error)};
}

bool IsRegularFile(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

int WriteAll(HANDLE file, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    DWORD written = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) {
      return LastErrno();
    }
    bytes = bytes.subspan(written);
  }
  return 0;
}

}  // namespace

std::wstring WindowsFileSystem::PathOf(const std::string& name) const {
  return Wide(directory_ + "\\" + name);
}

std::vector<std::string> WindowsFileSystem::ListFiles(std::string_view pattern) {
  std::vector<std::string> names;
  if (!pattern.starts_with('*')) return names;
  const std::string_view suffix = pattern.substr(1);
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW(PathOf("*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = Utf8(found.cFileName);
    if (name.size() <= suffix.size() || name.starts_with('.')) continue;
    if (!EqualIgnoringCase(std::string_view(name).substr(name.size() - suffix.size()), suffix))
      continue;
    if (IsRegularFile(found.dwFileAttributes)) names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

OpenResult WindowsFileSystem::OpenForReading(const std::string& name) {
  const std::wstring path = PathOf(name);
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return OpenFailed(GetLastError());
  if (!IsRegularFile(attributes)) return OpenFailed(ERROR_ACCESS_DENIED);
  const HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return OpenFailed(GetLastError());
  return {std::make_unique<WindowsFile>(handle), 0};
}

// FILETIME counts 100-nanosecond ticks since 1601: today's count times 100 no longer fits in
// 64 bits, the count since 1970 does until 2262 (later stamps stay at the largest value).
std::int64_t NanosecondsSinceUnixEpoch(std::uint64_t fileTimeTicks) {
  constexpr std::int64_t kTicksBefore1970 = 116'444'736'000'000'000;
  constexpr std::int64_t kLimit = std::numeric_limits<std::int64_t>::max() / 100;
  const std::int64_t ticks =
      static_cast<std::int64_t>(std::min<std::uint64_t>(fileTimeTicks, INT64_MAX)) -
      kTicksBefore1970;
  return std::clamp(ticks, -kLimit, kLimit) * 100;
}

FileErrorCause CauseOfWin32Error(unsigned long error) {
  switch (error) {
    case ERROR_SUCCESS:
      return kNoError;
    case ERROR_FILE_NOT_FOUND:
      return kFileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
      return kBadPath;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return kAccessDenied;
    case ERROR_SHARING_VIOLATION:
      return kSharingViolation;
    case ERROR_LOCK_VIOLATION:
    case ERROR_DRIVE_LOCKED:
      return kLockViolation;
    case ERROR_TOO_MANY_OPEN_FILES:
    case ERROR_SHARING_BUFFER_EXCEEDED:
      return kTooManyOpenFiles;
    case ERROR_INVALID_HANDLE:
      return kInvalidFile;
    case ERROR_SEEK:
    case ERROR_NEGATIVE_SEEK:
      return kBadSeek;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return kDiskFull;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_NOT_READY:
      return kHardIo;
    default:
      return kUnspecifiedError;
  }
}

std::optional<FileStamp> WindowsFileSystem::Stamp(const std::string& name) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(PathOf(name).c_str(), GetFileExInfoStandard, &data) ||
      !IsRegularFile(data.dwFileAttributes)) {
    return std::nullopt;
  }
  const std::uint64_t length = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  const std::uint64_t ticks = (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                              data.ftLastWriteTime.dwLowDateTime;
  return FileStamp{length, NanosecondsSinceUnixEpoch(ticks)};
}

// The scratch name is this process's own (CREATE_NEW: never one that is there), so two
// copies of the program writing beside each other never share it. The move has no
// MOVEFILE_REPLACE_EXISTING: a name taken meanwhile fails it, and the file there stays.
NewFile WindowsFileSystem::CreateNewFile(const std::string& name,
                                         std::span<const std::uint8_t> bytes) {
  if (name.empty() || name.find_first_of("\\/:") != std::string::npos) return {EINVAL, false};
  const std::wstring path = PathOf(name);
  std::wstring scratch;
  HANDLE file = INVALID_HANDLE_VALUE;
  for (int attempt = 0; file == INVALID_HANDLE_VALUE; ++attempt) {
    scratch = PathOf("." + name + ".part" + std::to_string(GetCurrentProcessId()) + "-" +
                     std::to_string(attempt));
    file = CreateFileW(scratch.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && (GetLastError() != ERROR_FILE_EXISTS || attempt == 100))
      return {LastErrno(), false};
  }
  int error = WriteAll(file, bytes);
  if (error == 0 && !FlushFileBuffers(file)) error = LastErrno();
  CloseHandle(file);
  if (error == 0 && !MoveFileExW(scratch.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) {
    error = LastErrno();
  }
  if (error != 0) DeleteFileW(scratch.c_str());
  return {error, error == 0};
}

}  // namespace zentor::platform::windows
