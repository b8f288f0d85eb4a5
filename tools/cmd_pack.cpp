// kestrel-book pack FILE: the text on standard input becomes FILE, written
// through the same codec and the same safe replace as the program's save.
#include <cstdint>
#include <limits>
#include <new>
#include <string>

#include "store/book_file.h"
#include "store/codec/codec_buffer.h"
#include "store/record_store.h"
#include "tools/book_command.h"
#include "tools/commands.h"

namespace {

constexpr char kUsage[] = "pack [--force] FILE";
constexpr char kDetails[] =
    "Reads a book's text from standard input and writes it into FILE with\n"
    "the book's codec, replacing FILE safely: the new file is written and\n"
    "synced beside it, then renamed over it. FILE - writes the book to\n"
    "standard output. Input that holds no record (nothing, or blank lines only)\n"
    "over a book that holds records is refused unless --force is given.\n\n"
    "exit status: 0 written, 1 write failed, 2 wrong usage or cannot create\n";

// Whether `text` is empty or blank lines only (blanks, tabs, line ends):
// packed, it would replace every record of a book with empty ones.
bool HoldsNoRecord(std::string_view text) {
  return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

int PackText(const std::string& text, const std::string& path, bool force);

int Pack(const std::vector<std::string>& args) {
  CommandLine line("pack", kUsage, kDetails, CommandLine::Wording::kUnknownOption);
  bool force = false;
  line.AddFlag("force", force);
  if (int code; !line.Parse(args, code)) return code;
  if (line.operands().size() != 1) return Fail(kExitUsage, "pack needs exactly one file");
  const std::string& path = line.operands()[0];
  std::string text;
  if (const int code = ReadInput("-", text); code != kExitOk) return code;
  // The codec's tables and the file's bytes come on top of the text.
  try {
    return PackText(text, path, force);
  } catch (const std::bad_alloc&) {
    return Fail(kExitDamaged,
                OutputName(path) + ": not enough memory to pack it; nothing was written");
  }
}

int PackText(const std::string& text, const std::string& path, bool force) {
  if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    return Fail(kExitDamaged, OutputName(path) + ": book too large for the file format");
  }
  if (IsStandardStream(path)) {
    std::string file;
    if (EncodeBuffer(text, file) != HuffmanCodec::EncodeStatus::written) {
      return Fail(kExitDamaged, "standard output: book too large for the file format");
    }
    return WriteOutput(path, file);
  }
  RecordStore book(path.c_str());
  if (const int code = LockBookForWriting(book); code != kExitOk) return code;
  if (!force && HoldsNoRecord(text) && platform::KindOf(path) == platform::FileKind::regular) {
    book.SetAnnounceBadChecksum(false);
    book.Load();
    if (!book.records.empty()) {
      return Fail(kExitUsage, path + ": standard input " +
                                  (text.empty() ? "is empty" : "holds no record") +
                                  " and would empty the book; use --force to do so");
    }
  }
  if (book.lock().status() == platform::BookLock::Status::held) {
    platform::RemoveLeftoverTemps(path);
  }
  const platform::SaveResult written =
      CompressToFile(text.data(), static_cast<std::int32_t>(text.size()), path);
  return written.ok() ? kExitOk : FailedWrite(path, written);
}

}  // namespace

KESTREL_COMMAND(Pack, "pack", "pack FILE", "write the text on standard input into FILE");
