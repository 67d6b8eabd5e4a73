// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/windows/console_text.h"

#include <io.h>
#include <windows.h>

#include <algorithm>
#include <iostream>
#include <streambuf>
#include <string>

#include "platform/windows/wide_text.h"

namespace zentor::platform::windows {
namespace {

HANDLE HandleOf(std::FILE* stream) {
  return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
}

// A console, the NUL device or a serial port. Which of them cannot be asked of a handle
// opened for writing alone (GetConsoleMode wants read access, and "CONOUT$" opened for
// writing has none), so a console is told by WriteConsoleW taking the text.
bool MayBeConsole(HANDLE handle) {
  return handle != INVALID_HANDLE_VALUE && GetFileType(handle) == FILE_TYPE_CHAR;
}

// How much of the text ends on a whole UTF-8 sequence: a character cut between two writes is
// held back until its last byte comes, rather than shown as two replacement characters.
std::size_t WholeSequences(std::string_view text) {
  std::size_t start = text.size();
  for (std::size_t back = 1; back <= 3 && back <= text.size(); ++back) {
    const auto byte = static_cast<unsigned char>(text[text.size() - back]);
    if ((byte & 0xC0) == 0x80) continue;  // a continuation byte: look further back
    const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
    start = length > back ? text.size() - back : text.size();
    break;
  }
  return start;
}

// False when the handle is no console, and nothing was written.
bool WriteToConsole(HANDLE console, std::string_view text) {
  const std::wstring wide = Wide(text);
  for (std::size_t at = 0; at < wide.size();) {
    DWORD written = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(wide.size() - at, 16384));
    if (!WriteConsoleW(console, wide.data() + at, chunk, &written, nullptr) || written == 0)
      return at > 0;
    at += written;
  }
  return true;
}

// std::cout or std::cerr on a console: the bytes are gathered and handed on in whole
// characters at every flush (std::cerr flushes after each output).
class ConsoleBuffer final : public std::streambuf {
 public:
  explicit ConsoleBuffer(std::FILE* stream) : stream_(stream) {}

 protected:
  int_type overflow(int_type c) override {
    if (!traits_type::eq_int_type(c, traits_type::eof())) pending_ += traits_type::to_char_type(c);
    if (c == '\n') sync();
    return traits_type::not_eof(c);
  }
  std::streamsize xsputn(const char* text, std::streamsize count) override {
    pending_.append(text, static_cast<std::size_t>(count));
    return count;
  }
  int sync() override {
    const std::size_t whole = WholeSequences(pending_);
    WriteText(stream_, std::string_view(pending_).substr(0, whole));
    pending_.erase(0, whole);
    return 0;
  }

 private:
  std::FILE* stream_;
  std::string pending_;
};

}  // namespace

void WriteText(std::FILE* stream, std::string_view text) {
  std::fflush(stream);  // what went out through the C stream first stays first
  const HANDLE handle = HandleOf(stream);
  if (!text.empty() && MayBeConsole(handle) && WriteToConsole(handle, text)) return;
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

// The buffers are never destroyed: the streams are flushed at exit, after the destructors of
// this file's statics would have run.
void WriteStandardStreamsAsText() {
  if (MayBeConsole(HandleOf(stdout))) std::cout.rdbuf(new ConsoleBuffer(stdout));
  if (MayBeConsole(HandleOf(stderr))) std::cerr.rdbuf(new ConsoleBuffer(stderr));
}

}  // namespace zentor::platform::windows
