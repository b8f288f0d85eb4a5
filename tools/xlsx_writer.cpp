// The parts of a workbook (content types, relationships, workbook, styles,
// sheet), written as plain XML and packed into a zip archive.
#include "tools/xlsx_writer.h"

#include <algorithm>
#include <cstdio>

#include "tools/xlsx_cell_ref.h"
#include "tools/xml_scanner.h"
#include "tools/zip_writer.h"

namespace xlsx {

namespace {

constexpr char kXmlDeclaration[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
constexpr char kMainNamespace[] = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr char kRelationshipsNamespace[] =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

// The cell formats of styles.xml, by index: numFmtId 49 is "@", text, so a
// value typed into the sheet later stays text too.
constexpr int kTextStyle = 1;
constexpr int kHeaderStyle = 2;  // text, bold

constexpr std::size_t kMinWidth = 6;
constexpr std::size_t kMaxWidth = 60;

std::string ContentTypes() {
  return std::string(kXmlDeclaration) +
         "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
         "<Default Extension=\"rels\" "
         "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
         "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
         "<Override PartName=\"/xl/workbook.xml\" ContentType=\"application/"
         "vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
         "<Override PartName=\"/xl/worksheets/sheet1.xml\" ContentType=\"application/"
         "vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
         "<Override PartName=\"/xl/styles.xml\" ContentType=\"application/"
         "vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>"
         "</Types>";
}

std::string PackageRelationships() {
  return std::string(kXmlDeclaration) +
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" Type=\"" +
         kRelationshipsNamespace + "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>";
}

std::string WorkbookRelationships() {
  return std::string(kXmlDeclaration) +
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" Type=\"" +
         kRelationshipsNamespace +
         "/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
         "<Relationship Id=\"rId2\" Type=\"" +
         kRelationshipsNamespace + "/styles\" Target=\"styles.xml\"/></Relationships>";
}

std::string Workbook(std::string_view sheetName) {
  std::string xml = std::string(kXmlDeclaration) + "<workbook xmlns=\"" + kMainNamespace +
                    "\" xmlns:r=\"" + kRelationshipsNamespace +
                    "\"><bookViews><workbookView/></bookViews><sheets><sheet name=\"";
  xml::AppendEscaped(sheetName, xml);
  xml += "\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";
  return xml;
}

std::string Styles() {
  return std::string(kXmlDeclaration) + "<styleSheet xmlns=\"" + kMainNamespace +
         "\">"
         "<fonts count=\"2\"><font><sz val=\"11\"/><name val=\"Calibri\"/></font>"
         "<font><b/><sz val=\"11\"/><name val=\"Calibri\"/></font></fonts>"
         "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
         "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
         "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border>"
         "</borders>"
         "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" "
         "borderId=\"0\"/></cellStyleXfs>"
         "<cellXfs count=\"3\">"
         "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
         "<xf numFmtId=\"49\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" "
         "applyNumberFormat=\"1\"/>"
         "<xf numFmtId=\"49\" fontId=\"1\" fillId=\"0\" borderId=\"0\" xfId=\"0\" "
         "applyNumberFormat=\"1\" applyFont=\"1\"/>"
         "</cellXfs>"
         "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/>"
         "</cellStyles></styleSheet>";
}

// Characters, not bytes: a UTF-8 sequence counts once.
std::size_t Characters(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

bool IsHex(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Whether `text` at `at` reads as the escape _xHHHH_.
bool EscapeAt(std::string_view text, std::size_t at) {
  if (text.size() - at < 7 || text[at] != '_' || text[at + 1] != 'x' || text[at + 6] != '_') {
    return false;
  }
  return std::all_of(text.begin() + at + 2, text.begin() + at + 6, IsHex);
}

}  // namespace

void AppendCellText(std::string_view text, std::string& out) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '_' && EscapeAt(text, i)) {
      out += "_x005F_";
    } else if (c == '\r') {
      out += "&#13;";  // a bare CR would reach the reader as LF
    } else if (c < 0x20 && c != '\t' && c != '\n') {
      char escape[8];
      std::snprintf(escape, sizeof escape, "_x%04X_", c);
      out += escape;
    } else {
      xml::AppendEscaped(text.substr(i, 1), out);
    }
  }
}

SheetWriter::SheetWriter(std::string_view sheetName, const std::vector<std::string_view>& header)
    : sheetName_(sheetName) {
  AppendRow(header, kHeaderStyle);
  // A bold header is a little wider than the same text in the body.
  for (std::size_t& width : widths_) width += width / 8 + 1;
}

void SheetWriter::AddRow(const std::vector<std::string_view>& cells) {
  AppendRow(cells, kTextStyle);
}

void SheetWriter::AppendRow(const std::vector<std::string_view>& cells, int style) {
  ++rowCount_;
  const std::string row = std::to_string(rowCount_);
  if (widths_.size() < cells.size()) widths_.resize(cells.size(), 0);
  rows_ += "<row r=\"" + row + "\">";
  for (std::size_t c = 0; c < cells.size(); ++c) {
    if (cells[c].empty()) continue;
    widths_[c] = std::max(widths_[c], Characters(cells[c]));
    rows_ += "<c r=\"" + ColumnName(static_cast<int>(c)) + row + "\" s=\"" + std::to_string(style) +
             "\" t=\"inlineStr\"><is><t xml:space=\"preserve\">";
    AppendCellText(cells[c], rows_);
    rows_ += "</t></is></c>";
  }
  rows_ += "</row>";
}

std::string SheetWriter::Finish() {
  std::string sheet = std::string(kXmlDeclaration) + "<worksheet xmlns=\"" + kMainNamespace +
                      "\" xmlns:r=\"" + kRelationshipsNamespace + "\">";
  const int columns = std::max<int>(1, static_cast<int>(widths_.size()));
  sheet += "<dimension ref=\"A1:" + CellName(columns - 1, rowCount_) + "\"/>";
  // The header row stays in view: the pane below it scrolls.
  sheet +=
      "<sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\">"
      "<pane ySplit=\"1\" topLeftCell=\"A2\" activePane=\"bottomLeft\" state=\"frozen\"/>"
      "<selection pane=\"bottomLeft\" activeCell=\"A2\" sqref=\"A2\"/>"
      "</sheetView></sheetViews><sheetFormatPr defaultRowHeight=\"15\"/>";
  if (!widths_.empty()) {
    sheet += "<cols>";
    for (std::size_t c = 0; c < widths_.size(); ++c) {
      const std::size_t width = std::clamp(widths_[c] + 2, kMinWidth, kMaxWidth);
      const std::string n = std::to_string(c + 1);
      sheet += "<col min=\"" + n + "\" max=\"" + n + "\" width=\"" + std::to_string(width) +
               "\" style=\"" + std::to_string(kTextStyle) + "\" customWidth=\"1\"/>";
    }
    sheet += "</cols>";
  }
  sheet += "<sheetData>" + rows_ + "</sheetData></worksheet>";
  rows_.clear();

  zip::Writer archive;
  archive.Add("[Content_Types].xml", ContentTypes());
  archive.Add("_rels/.rels", PackageRelationships());
  archive.Add("xl/workbook.xml", Workbook(sheetName_));
  archive.Add("xl/_rels/workbook.xml.rels", WorkbookRelationships());
  archive.Add("xl/styles.xml", Styles());
  archive.Add("xl/worksheets/sheet1.xml", sheet);
  return archive.Finish();
}

}  // namespace xlsx
