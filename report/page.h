// A printed page as a list of drawing operations in points, apart from any
// device: the PDF writer, the Qt painter and the GDI painter each draw the
// same pages, so a layout is laid out (and tested) once.
//
// Coordinates are PostScript points (1/72 inch) from the page's top-left
// corner, y growing downwards. A text run's y is its baseline. Text is
// Windows-1252 bytes, which is exactly the WinAnsiEncoding of the standard
// Helvetica fonts; the painters map each byte to its character.
#pragma once

#include <string>
#include <variant>
#include <vector>

namespace report {

// The two faces every layout uses: Helvetica and Helvetica-Bold (Arial or
// Liberation Sans on screen and paper, which share their widths).
enum class Weight { regular, bold };

struct TextRun {
  double x = 0;
  double y = 0;  // the baseline
  double size = 10;
  Weight weight = Weight::regular;
  std::string text;  // Windows-1252, one line, already cut to fit
};

// A straight stroke, `width` points thick.
struct Line {
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  double width = 0.5;
};

// The outline of a rectangle (never filled), `width` points thick.
struct Frame {
  double x = 0, y = 0, w = 0, h = 0;
  double width = 0.5;
};

using DrawOp = std::variant<TextRun, Line, Frame>;

struct Page {
  std::vector<DrawOp> ops;
};

// A sheet's size in points, portrait or landscape as laid out.
struct PaperSize {
  double width = 595.276;   // A4: 210 mm
  double height = 841.890;  // 297 mm
};

// What a layout gives a painter: every page the same size.
struct Document {
  PaperSize paper;
  std::string title;  // for the print job and the PDF's Title entry (Windows-1252)
  std::vector<Page> pages;
};

}  // namespace report
