// The widths of the standard Helvetica and Helvetica-Bold faces, from their
// public AFM metrics, indexed by the Windows-1252 byte (WinAnsiEncoding).
// Arial and Liberation Sans share these widths, so every painter breaks
// lines at the same places. A byte with no character prints as "?" and
// measures as one.
#include "report/text_metrics.h"

#include <array>

namespace report {
namespace {

// Advance widths in thousandths of the font size.
constexpr std::array<short, 256> kHelvetica = {
    556,  556, 556, 556, 556, 556,  556,  556,  556, 556,  556, 556, 556,  556, 556, 556,  // 0x00
    556,  556, 556, 556, 556, 556,  556,  556,  556, 556,  556, 556, 556,  556, 556, 556,  // 0x10
    278,  278, 355, 556, 556, 889,  667,  191,  333, 333,  389, 584, 278,  333, 278, 278,  // 0x20
    556,  556, 556, 556, 556, 556,  556,  556,  556, 556,  278, 278, 584,  584, 584, 556,  // 0x30
    1015, 667, 667, 722, 722, 667,  611,  778,  722, 278,  500, 667, 556,  833, 722, 778,  // 0x40
    667,  778, 722, 667, 611, 722,  667,  944,  667, 667,  611, 278, 278,  278, 333, 556,  // 0x50
    333,  556, 556, 500, 556, 556,  278,  556,  556, 222,  222, 500, 222,  833, 556, 556,  // 0x60
    556,  556, 333, 500, 278, 556,  500,  722,  500, 500,  500, 334, 260,  334, 333, 556,  // 0x70
    556,  556, 222, 556, 333, 1000, 556,  556,  333, 1000, 667, 333, 1000, 556, 611, 556,  // 0x80
    556,  222, 222, 333, 333, 350,  556,  1000, 333, 1000, 500, 333, 944,  556, 500, 667,  // 0x90
    278,  333, 556, 556, 556, 556,  260,  556,  333, 737,  370, 333, 584,  333, 737, 333,  // 0xA0
    400,  584, 333, 333, 333, 578,  537,  278,  333, 333,  365, 333, 834,  834, 834, 611,  // 0xB0
    667,  667, 667, 667, 667, 667,  1000, 722,  667, 667,  667, 667, 278,  278, 278, 278,  // 0xC0
    722,  722, 778, 778, 778, 778,  778,  584,  778, 722,  722, 722, 722,  667, 667, 611,  // 0xD0
    556,  556, 556, 556, 556, 556,  889,  500,  556, 556,  556, 556, 278,  278, 278, 278,  // 0xE0
    556,  556, 556, 556, 556, 556,  556,  584,  611, 556,  556, 556, 556,  500, 556, 500,  // 0xF0
};

constexpr std::array<short, 256> kHelveticaBold = {
    611, 611, 611, 611, 611, 611,  611,  611,  611, 611,  611, 611, 611,  611, 611, 611,  // 0x00
    611, 611, 611, 611, 611, 611,  611,  611,  611, 611,  611, 611, 611,  611, 611, 611,  // 0x10
    278, 333, 474, 556, 556, 889,  722,  238,  333, 333,  389, 584, 278,  333, 278, 278,  // 0x20
    556, 556, 556, 556, 556, 556,  556,  556,  556, 556,  333, 333, 584,  584, 584, 611,  // 0x30
    975, 722, 722, 722, 722, 667,  611,  778,  722, 278,  556, 722, 611,  833, 722, 778,  // 0x40
    667, 778, 722, 667, 611, 722,  667,  944,  667, 667,  611, 333, 278,  333, 333, 556,  // 0x50
    333, 556, 611, 556, 611, 556,  333,  611,  611, 278,  278, 556, 278,  889, 611, 611,  // 0x60
    611, 611, 389, 556, 333, 611,  556,  778,  556, 556,  500, 389, 280,  389, 333, 611,  // 0x70
    556, 611, 278, 556, 500, 1000, 556,  556,  333, 1000, 667, 333, 1000, 611, 611, 611,  // 0x80
    611, 278, 278, 500, 500, 350,  556,  1000, 333, 1000, 556, 333, 944,  611, 500, 667,  // 0x90
    278, 333, 556, 556, 556, 556,  280,  556,  333, 737,  370, 333, 584,  333, 737, 333,  // 0xA0
    400, 584, 333, 333, 333, 611,  556,  278,  333, 333,  365, 333, 834,  834, 834, 611,  // 0xB0
    722, 722, 722, 722, 722, 722,  1000, 722,  667, 667,  667, 667, 278,  278, 278, 278,  // 0xC0
    722, 722, 778, 778, 778, 778,  778,  584,  778, 722,  722, 722, 722,  667, 667, 611,  // 0xD0
    556, 556, 556, 556, 556, 556,  889,  556,  556, 556,  556, 556, 278,  278, 278, 278,  // 0xE0
    611, 611, 611, 611, 611, 611,  611,  584,  611, 611,  611, 611, 611,  556, 611, 556,  // 0xF0
};

}  // namespace

char PrintableByte(char byte) {
  const auto b = static_cast<unsigned char>(byte);
  // The control characters, DEL and the five bytes Windows-1252 leaves undefined.
  const bool undefined =
      b < 0x20 || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
  return undefined ? '?' : byte;
}

int GlyphWidth(Weight weight, char byte) {
  const auto b = static_cast<unsigned char>(byte);
  return weight == Weight::bold ? kHelveticaBold[b] : kHelvetica[b];
}

double TextWidth(std::string_view text, Weight weight, double size) {
  long units = 0;
  for (const char c : text) units += GlyphWidth(weight, c);
  return static_cast<double>(units) * size / 1000.0;
}

std::string CutToWidth(std::string_view text, Weight weight, double size, double width) {
  if (TextWidth(text, weight, size) <= width) return std::string(text);
  const long limit = static_cast<long>(width * 1000.0 / size);
  long units = GlyphWidth(weight, kEllipsis);
  if (units > limit) return std::string();
  std::size_t keep = 0;
  while (keep < text.size() && units + GlyphWidth(weight, text[keep]) <= limit) {
    units += GlyphWidth(weight, text[keep]);
    ++keep;
  }
  // A cut never leaves a blank before the ellipsis.
  while (keep > 0 && text[keep - 1] == ' ') --keep;
  return std::string(text.substr(0, keep)) + kEllipsis;
}

}  // namespace report
