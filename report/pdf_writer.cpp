// The PDF writer: a catalog, a page tree, two standard fonts, the document's
// information and one uncompressed content stream per page, then the
// cross-reference table that lets a reader find each object.
#include "report/pdf_writer.h"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <string_view>
#include <vector>

#include "report/text_metrics.h"
#include "text/cp1252.h"

namespace report {
namespace {

// A number as PDF writes it: at most two decimals, no exponent, no locale.
void AppendNumber(std::string& out, double value) {
  char buffer[32];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
  std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
  while (text.back() == '0') text.remove_suffix(1);
  if (text.back() == '.') text.remove_suffix(1);
  if (text == "-0") text = "0";
  out += text;
  out += ' ';
}

// A literal string of WinAnsi bytes, "(...)".
void AppendLiteral(std::string& out, std::string_view bytes) {
  out += '(';
  for (const char raw : bytes) {
    const char c = PrintableByte(raw);
    if (c == '(' || c == ')' || c == '\\') out += '\\';
    out += c;
  }
  out += ')';
}

// A text string for the document's information: UTF-16 with its byte order
// mark, in hexadecimal, so every Windows-1252 character keeps its identity.
void AppendTextString(std::string& out, std::string_view windows1252) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out += "<FEFF";
  for (const char c : windows1252) {
    const char32_t u = cp1252::ToUnicode(static_cast<unsigned char>(PrintableByte(c)));
    for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(u >> shift) & 0xF];
  }
  out += '>';
}

// "D:20261209040500Z" for a time in seconds since 1970.
std::string PdfDate(std::int64_t seconds) {
  using namespace std::chrono;
  const sys_seconds time{std::chrono::seconds(seconds)};
  const auto day = floor<days>(time);
  const year_month_day date{day};
  const hh_mm_ss clock{time - day};
  char text[32];
  std::snprintf(text, sizeof text, "D:%04d%02u%02u%02d%02d%02dZ", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                static_cast<int>(clock.seconds().count()));
  return text;
}

// The drawing operators of one page. PDF's y grows upwards from the
// bottom; the page's grows downwards from the top.
class ContentWriter {
 public:
  explicit ContentWriter(double pageHeight) : height_(pageHeight) {}

  void operator()(const TextRun& run) {
    if (run.weight != weight_ || run.size != size_) {
      weight_ = run.weight;
      size_ = run.size;
      out_ += run.weight == Weight::bold ? "/F2 " : "/F1 ";
      AppendNumber(out_, run.size);
      out_ += "Tf\n";
    }
    out_ += "BT ";
    AppendNumber(out_, run.x);
    AppendNumber(out_, height_ - run.y);
    out_ += "Td ";
    AppendLiteral(out_, run.text);
    out_ += " Tj ET\n";
  }

  void operator()(const Line& line) {
    Stroke(line.width);
    AppendNumber(out_, line.x1);
    AppendNumber(out_, height_ - line.y1);
    out_ += "m ";
    AppendNumber(out_, line.x2);
    AppendNumber(out_, height_ - line.y2);
    out_ += "l S\n";
  }

  void operator()(const Frame& frame) {
    Stroke(frame.width);
    AppendNumber(out_, frame.x);
    AppendNumber(out_, height_ - frame.y - frame.h);
    AppendNumber(out_, frame.w);
    AppendNumber(out_, frame.h);
    out_ += "re S\n";
  }

  std::string& text() { return out_; }

 private:
  void Stroke(double width) {
    if (width == lineWidth_) return;
    lineWidth_ = width;
    AppendNumber(out_, width);
    out_ += "w\n";
  }

  double height_;
  std::string out_;
  Weight weight_ = Weight::regular;
  double size_ = -1;  // no font chosen yet
  double lineWidth_ = -1;
};

class PdfFile {
 public:
  // Starts object `number`, recording where it begins.
  std::string& Begin(std::size_t number) {
    if (offsets_.size() <= number) offsets_.resize(number + 1);
    offsets_[number] = out_.size();
    out_ += std::to_string(number);
    out_ += " 0 obj\n";
    return out_;
  }
  void End() { out_ += "\nendobj\n"; }

  std::string& out() { return out_; }

  // The cross-reference table, every entry exactly 20 bytes, and the trailer.
  void Finish(std::size_t root, std::size_t info) {
    const std::size_t xref = out_.size();
    out_ += "xref\n0 " + std::to_string(offsets_.size()) + "\n0000000000 65535 f \n";
    char entry[32];
    for (std::size_t i = 1; i < offsets_.size(); ++i) {
      std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offsets_[i]);
      out_ += entry;
    }
    out_ += "trailer\n<< /Size " + std::to_string(offsets_.size()) + " /Root " +
            std::to_string(root) + " 0 R /Info " + std::to_string(info) + " 0 R >>\nstartxref\n" +
            std::to_string(xref) + "\n%%EOF\n";
  }

 private:
  std::string out_;
  std::vector<std::size_t> offsets_{0};
};

constexpr std::size_t kCatalog = 1, kPageTree = 2, kRegular = 3, kBold = 4, kInfo = 5;
constexpr std::size_t kFirstPage = 6;  // then each page and its content stream

}  // namespace

std::string WritePdf(const Document& document, const PdfOptions& options) {
  const std::size_t pageCount = std::max<std::size_t>(1, document.pages.size());
  PdfFile pdf;
  // The comment of high bytes tells transfer programs the file is binary.
  pdf.out() = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";

  pdf.Begin(kCatalog) += "<< /Type /Catalog /Pages 2 0 R >>";
  pdf.End();

  std::string& tree = pdf.Begin(kPageTree);
  tree += "<< /Type /Pages /Count " + std::to_string(pageCount) + " /MediaBox [0 0 ";
  AppendNumber(tree, document.paper.width);
  AppendNumber(tree, document.paper.height);
  tree += "] /Resources << /Font << /F1 3 0 R /F2 4 0 R >> >>\n/Kids [";
  for (std::size_t i = 0; i < pageCount; ++i) {
    tree += std::to_string(kFirstPage + 2 * i) + " 0 R" + (i % 10 == 9 ? "\n" : " ");
  }
  tree += "] >>";
  pdf.End();

  for (const auto& [number, face] : {std::pair{kRegular, "Helvetica"}, {kBold, "Helvetica-Bold"}}) {
    pdf.Begin(number) += std::string("<< /Type /Font /Subtype /Type1 /BaseFont /") + face +
                         " /Encoding /WinAnsiEncoding >>";
    pdf.End();
  }

  std::string& info = pdf.Begin(kInfo);
  info += "<< /Producer (Kestrel)";
  if (!document.title.empty()) {
    info += " /Title ";
    AppendTextString(info, document.title);
  }
  if (options.created) info += " /CreationDate (" + PdfDate(*options.created) + ")";
  info += " >>";
  pdf.End();

  for (std::size_t i = 0; i < pageCount; ++i) {
    const std::size_t page = kFirstPage + 2 * i;
    pdf.Begin(page) +=
        "<< /Type /Page /Parent 2 0 R /Contents " + std::to_string(page + 1) + " 0 R >>";
    pdf.End();

    ContentWriter content(document.paper.height);
    if (i < document.pages.size()) {
      for (const DrawOp& op : document.pages[i].ops) std::visit(content, op);
    }
    std::string& stream = pdf.Begin(page + 1);
    stream += "<< /Length " + std::to_string(content.text().size()) + " >>\nstream\n";
    stream += content.text();
    stream += "endstream";
    pdf.End();
  }

  pdf.Finish(kCatalog, kInfo);
  return std::move(pdf.out());
}

}  // namespace report
