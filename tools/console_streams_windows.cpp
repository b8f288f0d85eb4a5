// kestrel-book on Windows: what it writes to a console (its data, its
// messages) is written as UTF-16 with WriteConsoleW, so that "García" shows
// as such whatever the console's code page; the UTF-8 setting of the
// manifest does not change that code page. Output to a file or a pipe keeps
// its UTF-8 bytes.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <streambuf>
#include <string>

#include "tools/console_text.h"
#include "tools/standard_output.h"

namespace {

// Writes the complete characters of `pending` to `console`, keeping a
// character cut short for the next write.
bool WriteToConsole(HANDLE console, std::string& pending) {
  const std::u16string text = TakeUtf16(pending);
  std::size_t done = 0;
  while (done < text.size()) {
    DWORD written = 0;
    const DWORD count = static_cast<DWORD>(std::min<std::size_t>(text.size() - done, 8192));
    if (!WriteConsoleW(console, text.data() + done, count, &written, nullptr) || written == 0) {
      return false;
    }
    done += written;
  }
  return true;
}

// std::cout or std::cerr when it is a console: the text goes out whole
// lines at a time, and on every flush.
class ConsoleBuffer : public std::streambuf {
 public:
  explicit ConsoleBuffer(HANDLE console) : console_(console) {}

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    pending_.push_back(traits_type::to_char_type(c));
    if (c == '\n' && !WriteOut()) return traits_type::eof();
    return c;
  }
  std::streamsize xsputn(const char* text, std::streamsize count) override {
    pending_.append(text, static_cast<std::size_t>(count));
    if (pending_.find('\n') != std::string::npos && !WriteOut()) return 0;
    return count;
  }
  int sync() override { return WriteOut() ? 0 : -1; }

 private:
  bool WriteOut() { return WriteToConsole(console_, pending_); }

  HANDLE console_;
  std::string pending_;
};

// The handle when it is a console (GetConsoleMode works only on one), else nullptr.
HANDLE ConsoleOf(DWORD which) {
  HANDLE handle = GetStdHandle(which);
  DWORD mode = 0;
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode)) {
    return nullptr;
  }
  return handle;
}

void SendToConsole(std::ostream& stream, DWORD which) {
  HANDLE console = ConsoleOf(which);
  if (console == nullptr) return;
  static ConsoleBuffer* buffers[2] = {};
  ConsoleBuffer*& buffer = buffers[which == STD_ERROR_HANDLE ? 1 : 0];
  buffer = new ConsoleBuffer(console);  // lives as long as the stream
  stream.rdbuf(buffer);
}

const bool kConsoleStreams = [] {
  SendToConsole(std::cout, STD_OUTPUT_HANDLE);
  SendToConsole(std::cerr, STD_ERROR_HANDLE);
  return true;
}();

}  // namespace

void WriteStandardOutput(std::string_view bytes) {
  static HANDLE console = ConsoleOf(STD_OUTPUT_HANDLE);
  if (console == nullptr) {
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    return;
  }
  std::cout.flush();  // what the messages wrote first shows first
  std::string pending(bytes);
  if (!WriteToConsole(console, pending)) return;
  if (!pending.empty()) {  // the data ended inside a character
    const std::u16string replacement = u"\uFFFD";
    DWORD written = 0;
    WriteConsoleW(console, replacement.data(), 1, &written, nullptr);
  }
}
