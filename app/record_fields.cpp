// The address line of the record dialog.
#include "app/record_fields.h"

#include <algorithm>
#include <array>
#include <optional>

namespace {

constexpr int kAddressParts = 5;
using AddressPieces = std::array<std::string_view, kAddressParts>;

// Splits `line` into at most five pieces of at most 99 characters. With
// `breakAtBlanks` a piece ends before the last blank that leaves something
// after it, and that blank is dropped (JoinAddress puts it back); a piece
// with no such blank, or every piece without `breakAtBlanks`, is cut at 99
// characters, and a blank standing right at that cut is dropped too: no
// split of five pieces reaches further. Returns nothing when the line needs
// more than five pieces.
std::optional<AddressPieces> SplitAddress(std::string_view line, bool breakAtBlanks) {
  AddressPieces pieces;
  for (std::string_view& piece : pieces) {
    if (line.size() <= field_text::kMaxLength) {
      piece = line;
      return pieces;
    }
    std::size_t cut = field_text::kMaxLength;
    // A blank right at the cut goes between the parts, unless it ends the line.
    std::size_t skip = line[cut] == ' ' && line.size() > cut + 1 ? 1 : 0;
    if (breakAtBlanks) {
      // The blank may stand right after a full piece (index 99), never first
      // (an empty piece would vanish from the join) nor last.
      const std::size_t last = std::min(field_text::kMaxLength, line.size() - 2);
      for (std::size_t i = last; i >= 1; --i) {
        if (line[i] == ' ') {
          cut = i;
          skip = 1;
          break;
        }
      }
    }
    piece = line.substr(0, cut);
    line.remove_prefix(cut + skip);
  }
  if (!line.empty()) return std::nullopt;
  return pieces;
}

}  // namespace

std::string JoinAddress(const StudentRecord& record) {
  std::string line;
  for (int part = address1; part <= address5; ++part) {
    const char* text = record.field(part);
    if (*text == '\0') continue;
    if (!line.empty()) line += ' ';
    line += text;
  }
  return line;
}

bool StoreAddress(StudentRecord& record, std::string_view line) {
  std::optional<AddressPieces> pieces = SplitAddress(line, /*breakAtBlanks=*/true);
  if (!pieces) pieces = SplitAddress(line, /*breakAtBlanks=*/false);
  if (!pieces) return false;
  for (int i = 0; i < kAddressParts; ++i) field_text::Store(record.fields[address1 + i], (*pieces)[i]);
  return true;
}

bool AddressFits(std::string_view line) {
  return SplitAddress(line, /*breakAtBlanks=*/true) || SplitAddress(line, /*breakAtBlanks=*/false);
}
